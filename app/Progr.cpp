#include "Progr.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "Finfo.h"
#include "MessageDisplay.h"
#include "SettingsFilling.h"
#include "SettingsInEffect.h"
#include "WindowLook.h"
#include "settings/IntegerText.h"

TFProgrammchange* FProgrammchange = nullptr;

namespace {

using tonalux::settings::kProgrammchangeRows;

struct RowPlace {
    int left;
    int top;
};

// Rows 1 to 6 in the left column, 7 to 12 in the right one.
constexpr std::array<RowPlace, kProgrammchangeRows> kRowPlaces{{
    {8, 32}, {8, 88}, {8, 144}, {8, 200}, {8, 256}, {8, 312},
    {224, 32}, {224, 88}, {224, 144}, {224, 200}, {224, 256}, {224, 312},
}};

// Lefts of the four edits and their labels within a row panel.
constexpr std::array<int, 4> kEditLefts{8, 48, 128, 168};
constexpr std::array<int, 4> kLabelLefts{16, 56, 136, 176};
constexpr std::array<const char*, 4> kLabelTexts{"MSB", "PRG", "MSB", "PRG"};

// The text colour of a program-change entry, and of one that is neither "-"
// nor a whole number.
const QColor kEntryColour(0, 0, 128);
const QColor kInvalidEntryColour(255, 0, 0);

QLineEdit* MakeValueEdit(QWidget* parent, int left, const QString& name) {
    auto* edit = new QLineEdit(QStringLiteral("-"), parent);
    edit->setObjectName(name);
    edit->setGeometry(left, 24, 33, 21);
    edit->setMaxLength(3);
    edit->setFont(SansFont(13));
    edit->setTextMargins(0, 0, 0, 0);
    SetTextColour(edit, kEntryColour);
    return edit;
}

std::string EditText(const QLineEdit* edit) { return edit->text().toLatin1().toStdString(); }

}  // namespace

TFProgrammchange::TFProgrammchange(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Programmchange"));
    setFont(SansFont(11));
    PlaceWindow(this, QRect(191, 112, 462, 423 + kInEffectRoom));

    // The rows' panel and the line below it, with a margin of 4 pixels.
    QWidget* client = MakeScrollingClient(this, QSize(8 + 441 + 4, 390 + kInEffectRoom + 4));
    Panel1 = MakePanel(client, QRect(8, 8, 441, 377));
    const QFont heading = SansFont(11, true);
    MakeLabel(Panel1, 32, 16, QStringLiteral("Quell"), heading);
    MakeLabel(Panel1, 168, 16, QStringLiteral("Ziel"), heading);
    MakeLabel(Panel1, 256, 16, QStringLiteral("Quell"), heading);
    MakeLabel(Panel1, 384, 16, QStringLiteral("Ziel"), heading);

    for (int row = 0; row < kProgrammchangeRows; ++row) {
        const QString number = QString::number(row + 1);
        QFrame* panel = MakePanel(Panel1, QRect(kRowPlaces[row].left, kRowPlaces[row].top, 209, 49));
        RowPanels[row] = panel;
        for (int column = 0; column < 4; ++column)
            MakeLabel(panel, kLabelLefts[column], 8, QString::fromLatin1(kLabelTexts[column]), SmallFont());
        MSBQ[row] = MakeValueEdit(panel, kEditLefts[0], QStringLiteral("MSBQ") + number);
        PRGQ[row] = MakeValueEdit(panel, kEditLefts[1], QStringLiteral("PRGQ") + number);
        MSBD[row] = MakeValueEdit(panel, kEditLefts[2], QStringLiteral("MSBD") + number);
        PRGD[row] = MakeValueEdit(panel, kEditLefts[3], QStringLiteral("PRGD") + number);
        for (QLineEdit* edit : {MSBQ[row], PRGQ[row], MSBD[row], PRGD[row]})
            connect(edit, &QLineEdit::textChanged, this, &TFProgrammchange::MSBQ1Change);
    }
    InEffect = MakeInEffectLine(client, QRect(8, 390, 441, kInEffectRoom));
    FormCreate();
}

void TFProgrammchange::ShowInEffect(bool inEffect) { ::ShowInEffect(InEffect, inEffect); }

void TFProgrammchange::FormToBlock() {
    using tonalux::settings::FieldFromText;
    for (int row = 0; row < kProgrammchangeRows; ++row) Block.MSBQ[row] = FieldFromText(EditText(MSBQ[row]));
    for (int row = 0; row < kProgrammchangeRows; ++row) Block.PRGQ[row] = FieldFromText(EditText(PRGQ[row]));
    for (int row = 0; row < kProgrammchangeRows; ++row) Block.MSBD[row] = FieldFromText(EditText(MSBD[row]));
    for (int row = 0; row < kProgrammchangeRows; ++row) Block.PRGD[row] = FieldFromText(EditText(PRGD[row]));
}

void TFProgrammchange::BlockToForm() {
    using tonalux::settings::TextFromField;
    SettingsFilling filling;
    // Each edit is set from a copy, so nothing the edits raise can change the values still to come.
    const tonalux::settings::ProgrammchangeBlock source = Block;
    // A loaded value longer than three characters is shown whole, so that it
    // is not cut short when the window is gathered again.
    auto show = [](QLineEdit* edit, std::int32_t value) {
        const QString text = QString::fromStdString(TextFromField(value));
        edit->setMaxLength(std::max<int>(3, static_cast<int>(text.size())));
        edit->setText(text);
    };
    for (int row = 0; row < kProgrammchangeRows; ++row) show(MSBQ[row], source.MSBQ[row]);
    for (int row = 0; row < kProgrammchangeRows; ++row) show(PRGQ[row], source.PRGQ[row]);
    for (int row = 0; row < kProgrammchangeRows; ++row) show(MSBD[row], source.MSBD[row]);
    for (int row = 0; row < kProgrammchangeRows; ++row) show(PRGD[row], source.PRGD[row]);
}

void TFProgrammchange::MSBQ1Change() {
    MarkInvalidEntries();
    if (SettingsFilling::Active()) return;
    RunGuarded([this] { GatherQuietly(this, information_); }, this);
}

void TFProgrammchange::MarkInvalidEntries() {
    for (const auto* column : {&MSBQ, &PRGQ, &MSBD, &PRGD})
        for (QLineEdit* edit : *column)
            if (edit) SetTextColour(edit, IsEntryValid(edit) ? kEntryColour : kInvalidEntryColour);
}

bool TFProgrammchange::IsEntryValid(const QLineEdit* edit) {
    return tonalux::settings::IsFieldText(EditText(edit));
}

void GatherQuietly(TFProgrammchange* programs, TFInformationen* information) {
    // While the user types, an entry that is not a number yet is only marked;
    // the message about it comes when a save or a conversion gathers.
    try {
        if (programs) programs->FormToBlock();
        if (information) information->FormToBlock();
    } catch (const tonalux::settings::IntegerTextError&) {
        return;
    }
    if (programs) emit programs->Gathered();
    else if (information) emit information->Gathered();
}
