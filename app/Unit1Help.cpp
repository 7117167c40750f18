// The main window's habits: Quit (Ctrl+Q), the manual (F1), the About box,
// the remembered position, songs dropped onto the window and a double click
// on a song, which opens the song's window.
#include <QAction>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>

#include "FileNames.h"
#include "MessageDisplay.h"
#include "RememberedOptions.h"
#include "TonaluxVersion.h"
#include "Unit1.h"
#include "WorkingFolder.h"
#include "song/SongWindow.h"

namespace {

// The manual: the README installed beside the program's other shared files,
// or the one of the source tree the program was built from.
QStringList ManualPlaces() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    QStringList places{programFolder + QStringLiteral("/../share/doc/tonalux/README.md")};
#ifdef TONALUX_SOURCE_README
    places << QStringLiteral(TONALUX_SOURCE_README);
#endif
    return places;
}

// Local files among a drop's addresses, as the file system spells them.
std::vector<std::string> DroppedPaths(const QMimeData* data) {
    std::vector<std::string> paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) paths.push_back(FileSystemName(url.toLocalFile()));
    return paths;
}

}  // namespace

QString AboutText() {
    return QCoreApplication::translate("TForm1",
                                       "<b>Tonalux &amp; Belvorta</b> %1<br><br>"
                                       "Converts Standard MIDI Files for arranger keyboards.<br><br>"
                                       "MIT licence: free to use, copy, change and pass on, without any warranty.")
        .arg(QString::fromLatin1(tonalux::kVersion));
}

void TForm1::BuildHelpMenu() {
    // After the given entries: the items that start work go to "Hauptmenü",
    // the manual and the About box to "?".
    QMenu* main = Hauptmenue1->menu();
    ConvertSelected1 = new QAction(tr("Convert the &selected songs"), this);
    ConvertSelected1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    main->insertAction(SaveOutcomes1, ConvertSelected1);
    main->addSeparator();
    Quit1 = main->addAction(tr("&Quit"));
    Quit1->setShortcut(QKeySequence::Quit);
    connect(ConvertSelected1, &QAction::triggered, this, &TForm1::ConvertSelected1Click);
    connect(Quit1, &QAction::triggered, this, &QWidget::close);
    // The left list offers the same on its own menu.
    ListBox1->setContextMenuPolicy(Qt::ActionsContextMenu);
    ListBox1->addAction(ConvertSelected1);

    QMenu* help = menuBar()->addMenu(QStringLiteral("?"));
    Manual1 = help->addAction(tr("&Manual"));
    Manual1->setShortcut(QKeySequence(Qt::Key_F1));
    Manual1->setShortcutContext(Qt::ApplicationShortcut);
    About1 = help->addAction(tr("&About Tonalux & Belvorta"));
    connect(Manual1, &QAction::triggered, this, &TForm1::Manual1Click);
    connect(About1, &QAction::triggered, this, &TForm1::About1Click);
}

void TForm1::Manual1Click() {
    QString found;
    for (const QString& place : ManualPlaces())
        if (QFileInfo::exists(place)) {
            found = QFileInfo(place).canonicalFilePath();
            break;
        }
    if (found.isEmpty()) {
        ShowMessageBox(tr("The manual was not found. It is looked for in:\n%1").arg(ManualPlaces().join('\n')), this);
        return;
    }
    if (!Manual) {
        auto* browser = new QTextBrowser(this);
        browser->setWindowFlags(Qt::Window);
        browser->setWindowTitle(tr("Tonalux & Belvorta - Manual"));
        browser->setOpenExternalLinks(true);
        browser->resize(760, 640);
        Manual = browser;
    }
    auto* browser = static_cast<QTextBrowser*>(Manual);
    browser->setSearchPaths({QFileInfo(found).absolutePath()});
    browser->setSource(QUrl::fromLocalFile(found), QTextDocument::MarkdownResource);
    browser->show();
    browser->raise();
    browser->activateWindow();
}

void TForm1::About1Click() {
    if (MessagesHooked()) {
        ShowMessageBox(AboutText(), this);
        return;
    }
    QMessageBox::about(this, tr("About Tonalux & Belvorta"), AboutText());
}

void TForm1::RememberPosition() { StoredOptions().setValue(kWindowPositionKey, pos()); }

void TForm1::RestorePosition() {
    const QVariant stored = StoredOptions().value(kWindowPositionKey);
    if (!stored.isValid()) return;
    const QPoint at = stored.toPoint();
    // Only a place on one of today's screens: a screen taken away since must
    // not leave the window out of reach.
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().contains(at)) {
            move(at);
            return;
        }
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (!converting_ && !DroppedPaths(event->mimeData()).empty()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
    if (converting_ || DroppedPaths(event->mimeData()).empty()) return;
    event->acceptProposedAction();
    DropSongs(event->mimeData());
}

bool TForm1::DropSongs(const QMimeData* data) {
    const std::vector<std::string> paths = DroppedPaths(data);
    if (converting_ || paths.empty()) return false;
    ConvertDropped(paths);
    return true;
}

void TForm1::SongActivated(QListWidgetItem* item) {
    if (!item || converting_) return;
    QListWidget* list = item->listWidget();
    const bool input = list == ListBox1;
    const auto& names = input ? midifileNames_ : convertNames_;
    const int row = list->row(item);
    if (row < 0 || row >= static_cast<int>(names.size())) return;
    const tonalux::ConversionFolders folders = tonalux::DefaultFolders(BaseFolder);
    auto* window = new SongWindow(this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->Open((input ? folders.Input : folders.Output) + names[static_cast<std::size_t>(row)]);
    window->show();
    SongWindows.push_back(window);
    connect(window, &QObject::destroyed, this,
            [this, window] { SongWindows.erase(std::remove(SongWindows.begin(), SongWindows.end(), window), SongWindows.end()); });
}
