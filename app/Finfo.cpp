#include "Finfo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <cstring>

#include "MessageDisplay.h"
#include "Progr.h"
#include "SettingsFilling.h"
#include "SettingsInEffect.h"
#include "Unit1.h"
#include "WindowLook.h"
#include "settings/SetupFile.h"

TFInformationen* FInformationen = nullptr;

namespace {

using tonalux::settings::kChannelPairs;

constexpr int kTextLimit = 25;
constexpr int kChannelCount = 16;

struct BoxPlace {
    int left;
    int top;
};

// Pairs 1 to 3 stand one pixel lower than pairs 4 to 8.
constexpr std::array<BoxPlace, kChannelPairs> kUpperBoxes{{
    {3, 21}, {90, 21}, {177, 21}, {263, 20}, {352, 20}, {443, 20}, {530, 20}, {617, 20},
}};
constexpr std::array<BoxPlace, kChannelPairs> kLowerBoxes{{
    {2, 69}, {89, 69}, {176, 69}, {262, 68}, {351, 68}, {442, 68}, {529, 68}, {616, 68},
}};

const QColor kTextColour(0, 0, 255);
const QColor kRefusedTextColour(255, 0, 0);

// The initial text shows greyed as a placeholder; an empty field leaves the
// song's own text.
QLineEdit* MakeTextEdit(QWidget* parent, const QRect& geometry, const QString& placeholder) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(geometry);
    edit->setMaxLength(kTextLimit);
    edit->setFont(SansFont(11, true));
    SetTextColour(edit, kTextColour);
    edit->setPlaceholderText(placeholder);
    return edit;
}

QComboBox* MakeChannelBox(QWidget* parent, const BoxPlace& place, const QString& name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    for (int channel = 1; channel <= kChannelCount; ++channel) box->addItem(QStringLiteral("KANAL %1").arg(channel));
    box->setCurrentIndex(0);
    box->setGeometry(place.left, place.top, 83, 21);
    return box;
}

// The entry whose text the box shows, or -1 when its text matches none.
std::int32_t SelectedEntry(const QComboBox* box) {
    return box->findText(box->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

void Select(QComboBox* box, std::int32_t entry) {
    box->setCurrentIndex(entry >= 0 && entry < kChannelCount ? entry : -1);
    if (box->currentIndex() < 0) box->setEditText(QString());
}

// Text of a block field: up to its first zero byte, at most 25 characters.
QString TextAt(const char* field) {
    const char* end = std::find(field, field + kTextLimit, '\0');
    return QString::fromLatin1(field, static_cast<qsizetype>(end - field));
}

// Copies the text and its zero byte; a text of 25 characters lets its zero
// fall into the following field, which the next copy overwrites.
void CopyText(char* to, std::size_t room, const QString& text) {
    if (TFInformationen::FirstRefusedCharacter(text) >= 0) return;
    const QByteArray bytes = text.toLatin1().left(kTextLimit);
    std::memcpy(to, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (static_cast<std::size_t>(bytes.size()) < room) to[bytes.size()] = '\0';
}

}  // namespace

TFInformationen::TFInformationen(TForm1* mainWindow, QWidget* parent) : QWidget(parent, Qt::Window), main_(mainWindow) {
    setWindowTitle(QStringLiteral("Informationen"));
    setFont(SansFont(11));
    PlaceWindow(this, QRect(208, 462, 721, 198 + kInEffectRoom));

    // The three panels and the line below them, with a margin of 2 pixels.
    QWidget* client = MakeScrollingClient(this, QSize(5 + 704 + 2, 162 + kInEffectRoom + 2));
    Panel1 = MakePanel(client, QRect(7, 8, 266, 46));
    Label1 = MakeLabel(Panel1, 7, 4, QStringLiteral("COPYRIGHT"), SmallFont());
    ECopyright = MakeTextEdit(Panel1, QRect(4, 20, 257, 21), QString());

    Panel2 = MakePanel(client, QRect(275, 8, 431, 46));
    Label2 = MakeLabel(Panel2, 5, 4, QStringLiteral("TRACKNAME"), SmallFont());
    ETrackname = MakeTextEdit(Panel2, QRect(4, 20, 422, 21), QStringLiteral("VELMOTRIX"));

    Panel3 = MakePanel(client, QRect(5, 58, 704, 100));
    Label3 = MakeLabel(Panel3, 267, 5, QStringLiteral("KANALTAUSCHEN"), SmallFont());
    for (int pair = 0; pair < kChannelPairs; ++pair) {
        CKanV[pair] = MakeChannelBox(Panel3, kUpperBoxes[pair], QStringLiteral("CKanV%1").arg(pair + 1));
        CKanT[pair] = MakeChannelBox(Panel3, kLowerBoxes[pair], QStringLiteral("CKanT%1").arg(pair + 1));
    }

    ECopyright->setToolTip(tr("COPYRIGHT: the copyright text written into every converted song; "
                              "empty keeps the song's own"));
    ETrackname->setToolTip(tr("TRACKNAME: the song name written into every converted song; "
                              "empty keeps the song's own"));
    for (int pair = 0; pair < kChannelPairs; ++pair) {
        const QString tip = tr("KANALTAUSCHEN, pair %1: the channels of the upper and the lower box exchange "
                               "their events; the same channel twice, or an empty box, does nothing")
                                .arg(pair + 1);
        CKanV[pair]->setToolTip(tip);
        CKanT[pair]->setToolTip(tip);
    }

    connect(ECopyright, &QLineEdit::textChanged, this, &TFInformationen::CKanV1Change);
    connect(ETrackname, &QLineEdit::textChanged, this, &TFInformationen::CKanV1Change);
    for (int pair = 0; pair < kChannelPairs; ++pair) {
        connect(CKanV[pair], &QComboBox::currentTextChanged, this, &TFInformationen::CKanV1Change);
        connect(CKanT[pair], &QComboBox::currentTextChanged, this, &TFInformationen::CKanV1Change);
    }
    InEffect = MakeInEffectLine(client, QRect(7, 162, 704, kInEffectRoom));
}

void TFInformationen::ShowInEffect(bool inEffect) { ::ShowInEffect(InEffect, inEffect); }

void TFInformationen::FormToBlock() {
    CopyText(Block.Copyright, sizeof Block.Copyright, ECopyright->text());
    CopyText(Block.Trackname, sizeof Block.Trackname, ETrackname->text());
    for (int pair = 0; pair < kChannelPairs; ++pair) Block.KanV[pair] = SelectedEntry(CKanV[pair]);
    for (int pair = 0; pair < kChannelPairs; ++pair) Block.KanT[pair] = SelectedEntry(CKanT[pair]);
    if (!main_) return;
    Block.FastPlay = main_->CFastPlay->isChecked() ? 1 : 0;
    Block.Format0 = main_->CFormat->isChecked() ? 1 : 0;
}

void TFInformationen::BlockToForm() {
    SettingsFilling filling;
    const tonalux::settings::InformationenBlock source = Block;
    for (int pair = 0; pair < kChannelPairs; ++pair) Select(CKanV[pair], source.KanV[pair]);
    for (int pair = 0; pair < kChannelPairs; ++pair) Select(CKanT[pair], source.KanT[pair]);
    ECopyright->setText(TextAt(source.Copyright));
    ETrackname->setText(TextAt(source.Trackname));
    if (!main_) return;
    main_->CFastPlay->setChecked(source.FastPlay != 0);
    main_->CFormat->setChecked(source.Format0 != 0);
}

int TFInformationen::FirstRefusedCharacter(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c > 0xFF || !tonalux::settings::IsPrintableTextByte(static_cast<std::uint8_t>(c))) return static_cast<int>(i);
    }
    return -1;
}

void TFInformationen::MarkRefusedTexts() {
    for (QLineEdit* edit : {ECopyright, ETrackname})
        SetTextColour(edit, FirstRefusedCharacter(edit->text()) < 0 ? kTextColour : kRefusedTextColour);
}

void TFInformationen::CKanV1Change() {
    MarkRefusedTexts();
    if (SettingsFilling::Active()) return;
    RunGuarded([this] { GatherQuietly(programs_, this); }, this);
}
