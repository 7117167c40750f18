#include "SummaryDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "MessageDisplay.h"

namespace {

// The share of the screen the dialog may take at most.
constexpr double kScreenShare = 0.8;

}  // namespace

SummaryDialog::SummaryDialog(const QString& counts, const QStringList& lines, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromLatin1(kApplicationTitle));
    auto* layout = new QVBoxLayout(this);

    Counts = new QLabel(counts, this);
    Counts->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Counts->setWordWrap(true);
    layout->addWidget(Counts);

    Songs = new QPlainTextEdit(this);
    Songs->setReadOnly(true);
    Songs->setLineWrapMode(QPlainTextEdit::NoWrap);
    Songs->setPlainText(lines.join('\n'));
    layout->addWidget(Songs, 1);

    auto* buttons = new QDialogButtonBox(this);
    Copy = buttons->addButton(tr("&Copy"), QDialogButtonBox::ActionRole);
    Save = buttons->addButton(tr("&Save report..."), QDialogButtonBox::ActionRole);
    OpenFolder = buttons->addButton(tr("&Open the Convert folder"), QDialogButtonBox::ActionRole);
    Close = buttons->addButton(QDialogButtonBox::Ok);
    Close->setDefault(true);
    layout->addWidget(buttons);

    connect(Copy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(Counts->text() + QStringLiteral("\n\n") + Songs->toPlainText()); });
    connect(Save, &QPushButton::clicked, this, &SummaryDialog::SaveRequested);
    connect(OpenFolder, &QPushButton::clicked, this, &SummaryDialog::OpenFolderRequested);
    connect(Close, &QPushButton::clicked, this, &QDialog::accept);

    // As wide as the longest line where the screen allows, and never taller
    // than the screen: the list scrolls instead.
    const QRect screen = (parent ? parent->screen() : QApplication::primaryScreen())->availableGeometry();
    const QSize most(static_cast<int>(screen.width() * kScreenShare), static_cast<int>(screen.height() * kScreenShare));
    setMaximumSize(most);
    const QFontMetrics metrics(Songs->font());
    int widest = metrics.horizontalAdvance(counts);
    for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
    const int rows = static_cast<int>(std::min<qsizetype>(lines.size(), 20));
    resize(std::min(most.width(), std::max(420, widest + 60)),
           std::min(most.height(), sizeHint().height() + rows * metrics.lineSpacing()));
}
