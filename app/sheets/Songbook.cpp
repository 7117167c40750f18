#include "sheets/Songbook.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QSaveFile>

#include <memory>

#include "FolderConversion.h"
#include "SheetFile.h"

namespace tonalux {

namespace {

constexpr double kContentsRow = 1.5;  // of the contents font's height
constexpr double kLeaderGap = 12.0;   // between a title and its page number

QString BookText(const char* text) { return QCoreApplication::translate("Songbook", text); }

QFont ContentsFont(int size, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(size);
    font.setBold(bold);
    return font;
}

// The contents laid out on pages: how many entries a page holds.
struct ContentsPlan {
    QFont Heading, Entry;
    double Top = 0, RowHeight = 0;
    int PerPage = 1;
};

ContentsPlan PlanContents(const SheetStyle& style) {
    ContentsPlan plan;
    plan.Heading = ContentsFont(style.TitleSize, true);
    plan.Entry = ContentsFont(style.InfoSize + 1, false);
    plan.Top = style.Margin + QFontMetricsF(plan.Heading).height() * 2;
    plan.RowHeight = QFontMetricsF(plan.Entry).height() * kContentsRow;
    const double bottom = style.Page.height() - style.Margin * 1.5;
    plan.PerPage = std::max(1, static_cast<int>((bottom - plan.Top) / plan.RowHeight));
    return plan;
}

void DrawContentsPage(QPainter& painter, const SheetStyle& style, const ContentsPlan& plan,
                      const std::vector<std::pair<QString, int>>& contents, int page) {
    const QFontMetricsF heading(plan.Heading), entry(plan.Entry);
    painter.setPen(Qt::black);
    painter.setFont(plan.Heading);
    const QString title = page == 0 ? BookText("Contents") : BookText("Contents (continued)");
    painter.drawText(QPointF(style.Margin, style.Margin + heading.ascent()), title);
    painter.setFont(plan.Entry);
    const double width = style.Page.width() - 2 * style.Margin;
    const std::size_t first = static_cast<std::size_t>(page) * static_cast<std::size_t>(plan.PerPage);
    for (std::size_t i = first; i < contents.size() && i < first + static_cast<std::size_t>(plan.PerPage); ++i) {
        const double baseline = plan.Top + plan.RowHeight * static_cast<double>(i - first) + entry.ascent();
        const QString number = QString::number(contents[i].second);
        const double numberWidth = entry.horizontalAdvance(number);
        const QString name = entry.elidedText(contents[i].first, Qt::ElideRight, width - numberWidth - kLeaderGap * 2);
        painter.drawText(QPointF(style.Margin, baseline), name);
        painter.drawText(QPointF(style.Margin + width - numberWidth, baseline), number);
        // A dotted leader from the title to its number.
        const double from = style.Margin + entry.horizontalAdvance(name) + kLeaderGap / 2;
        const double to = style.Margin + width - numberWidth - kLeaderGap / 2;
        painter.setPen(QPen(Qt::gray, 1.0, Qt::DotLine));
        if (to > from) painter.drawLine(QPointF(from, baseline), QPointF(to, baseline));
        painter.setPen(Qt::black);
    }
    painter.setFont(ContentsFont(style.FooterSize, false));
    painter.drawText(QRectF(0, style.Page.height() - style.Margin, style.Page.width(), style.Margin / 2),
                     Qt::AlignCenter, QString::number(page + 1));
}

}  // namespace

SongbookReport WriteSongbook(const QStringList& songs, const QString& pdfPath, const SheetStyle& style) {
    SongbookReport report;
    std::vector<std::unique_ptr<SheetLayout>> layouts;
    for (const QString& song : songs) {
        std::string problem;
        const auto sheet = ReadSongSheet(song.toStdString(), problem);
        const QString name = QFileInfo(song).fileName();
        if (!sheet) {
            report.Problems << name + QStringLiteral(": ") + QString::fromStdString(problem);
            continue;
        }
        if (!sheet->Notes.empty() && sheet->Notes.front().rfind("damaged", 0) == 0)
            report.Problems << name + QStringLiteral(": ") + QString::fromStdString(sheet->Notes.front());
        layouts.push_back(std::make_unique<SheetLayout>(*sheet, style));
        report.Contents.emplace_back(QString::fromStdString(sheet->Title), 0);
    }
    const ContentsPlan plan = PlanContents(style);
    const int songsCount = static_cast<int>(layouts.size());
    report.ContentsPages = std::max(1, (songsCount + plan.PerPage - 1) / plan.PerPage);
    int page = report.ContentsPages + 1;
    for (int i = 0; i < songsCount; ++i) {
        report.Contents[static_cast<std::size_t>(i)].second = page;
        page += layouts[static_cast<std::size_t>(i)]->PageCount();
    }
    report.Pages = page - 1;

    // The PDF goes to a temporary file that takes the name only when complete.
    QSaveFile file(pdfPath);
    if (!file.open(QIODevice::WriteOnly)) {
        report.Error = file.errorString();
        return report;
    }
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setTitle(BookText("Songbook"));
        writer.setCreator(QStringLiteral("Tonalux & Belvorta"));
        QPainter painter(&writer);
        const double scale = writer.resolution() / 72.0;
        bool first = true;
        auto startPage = [&] {
            if (!first) writer.newPage();
            first = false;
            painter.resetTransform();
            painter.scale(scale, scale);
        };
        for (int c = 0; c < report.ContentsPages; ++c) {
            startPage();
            DrawContentsPage(painter, style, plan, report.Contents, c);
        }
        for (int i = 0; i < songsCount; ++i) {
            const SheetLayout& layout = *layouts[static_cast<std::size_t>(i)];
            for (int p = 0; p < layout.PageCount(); ++p) {
                startPage();
                layout.DrawPage(painter, p, report.Contents[static_cast<std::size_t>(i)].second + p);
            }
        }
        painter.end();
    }
    if (!file.commit()) {
        report.Error = file.errorString();
        return report;
    }
    report.Written = true;
    return report;
}

QStringList SongbookSongs(const QString& folder) {
    QString base = folder;
    if (!base.endsWith(QLatin1Char('/'))) base += QLatin1Char('/');
    QStringList songs;
    for (const std::string& name : ListMidiFolder(base.toStdString())) songs << base + QString::fromStdString(name);
    return songs;
}

void OfferSongbook(QWidget* parent, const QString& convertFolder, const QStringList& selectedSongs) {
    QString folder = convertFolder;
    QMessageBox ask(QMessageBox::Question, BookText("Songbook as PDF"), BookText("Which songs go into the songbook?"),
                    QMessageBox::Cancel, parent);
    QPushButton* convert = ask.addButton(BookText("The songs of Convert/"), QMessageBox::AcceptRole);
    QPushButton* other = ask.addButton(BookText("The songs of another folder..."), QMessageBox::ActionRole);
    QPushButton* selected = nullptr;
    if (!selectedSongs.isEmpty())
        selected = ask.addButton(BookText("The selected songs (%1)").arg(selectedSongs.size()), QMessageBox::ActionRole);
    ask.setDefaultButton(convert);
    ask.exec();
    QStringList songs;
    if (selected && ask.clickedButton() == selected) {
        songs = selectedSongs;
    } else if (ask.clickedButton() == other) {
        folder = QFileDialog::getExistingDirectory(parent, BookText("Folder of the songs"), convertFolder);
        if (folder.isEmpty()) return;
        songs = SongbookSongs(folder);
    } else if (ask.clickedButton() == convert) {
        songs = SongbookSongs(folder);
    } else {
        return;
    }
    if (songs.isEmpty()) {
        QMessageBox::information(parent, BookText("Songbook as PDF"), BookText("There are no songs (*.mid) in %1.").arg(folder));
        return;
    }
    QString target = QFileDialog::getSaveFileName(parent, BookText("Save the songbook"),
                                                  QDir(folder).filePath(QStringLiteral("Liederbuch.pdf")),
                                                  BookText("PDF files (*.pdf)"));
    if (target.isEmpty()) return;
    if (!target.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) target += QStringLiteral(".pdf");

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const SongbookReport report = WriteSongbook(songs, target);
    QGuiApplication::restoreOverrideCursor();
    if (!report.Written) {
        QMessageBox::warning(parent, BookText("Songbook as PDF"),
                             BookText("The songbook could not be written to %1: %2").arg(target, report.Error));
        return;
    }
    QString text = BookText("%1 songs on %2 pages written to %3.")
                       .arg(report.Contents.size())
                       .arg(report.Pages)
                       .arg(QDir::toNativeSeparators(target));
    if (!report.Problems.isEmpty()) text += QStringLiteral("\n\n") + report.Problems.join(QLatin1Char('\n'));
    QMessageBox::information(parent, BookText("Songbook as PDF"), text);
}

}  // namespace tonalux
