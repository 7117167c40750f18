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

// The twelve rows stand in one column, numbered as the messages name them;
// the note on the right explains the fields.
constexpr int kRowLeft = 32;
constexpr int kFirstRowTop = 32;
constexpr int kRowPitch = 52;
constexpr QSize kRowSize(209, 49);
constexpr QRect kNotePlace(256, 32, 177, 330);
constexpr int kPanelHeight = kFirstRowTop + kProgrammchangeRows * kRowPitch;

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
    PlaceWindow(this, QRect(191, 112, 462, kPanelHeight + 46 + kInEffectRoom));

    // The rows' panel and the line below it, with a margin of 4 pixels.
    QWidget* client = MakeScrollingClient(this, QSize(8 + 441 + 4, kPanelHeight + 13 + kInEffectRoom + 4));
    Panel1 = MakePanel(client, QRect(8, 8, 441, kPanelHeight));
    const QFont heading = SansFont(11, true);
    MakeLabel(Panel1, kRowLeft + 24, 16, QStringLiteral("Quell"), heading);
    MakeLabel(Panel1, kRowLeft + 160, 16, QStringLiteral("Ziel"), heading);
    Note = new QLabel(Panel1);
    Note->setGeometry(kNotePlace);
    Note->setWordWrap(true);
    Note->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    Note->setText(tr("Each row replaces a sound: where a program change of the song selects the Quell "
                     "sound (bank select MSB and program), the Ziel sound is selected instead.\n\n"
                     "MSB 0 to 127; Quell MSB 128 stands for the drum kits of channel 10.\n"
                     "PRG 1 to 128, as keyboards count programs.\n"
                     "\"-\" for no value: a row without Quell PRG does nothing."));

    for (int row = 0; row < kProgrammchangeRows; ++row) {
        const QString number = QString::number(row + 1);
        const int top = kFirstRowTop + row * kRowPitch;
        QLabel* numberLabel = MakeLabel(Panel1, 8, top + 24, number, SansFont(11, true));
        numberLabel->setToolTip(tr("Row %1").arg(number));
        QFrame* panel = MakePanel(Panel1, QRect(QPoint(kRowLeft, top), kRowSize));
        RowPanels[row] = panel;
        for (int column = 0; column < 4; ++column)
            MakeLabel(panel, kLabelLefts[column], 8, QString::fromLatin1(kLabelTexts[column]), SmallFont());
        MSBQ[row] = MakeValueEdit(panel, kEditLefts[0], QStringLiteral("MSBQ") + number);
        PRGQ[row] = MakeValueEdit(panel, kEditLefts[1], QStringLiteral("PRGQ") + number);
        MSBD[row] = MakeValueEdit(panel, kEditLefts[2], QStringLiteral("MSBD") + number);
        PRGD[row] = MakeValueEdit(panel, kEditLefts[3], QStringLiteral("PRGD") + number);
        MSBQ[row]->setToolTip(tr("Row %1, Quell MSB: the bank select MSB of the sound to replace, 0 to 127, "
                                 "or 128 for the drum kits of channel 10; \"-\" for any bank").arg(number));
        PRGQ[row]->setToolTip(tr("Row %1, Quell PRG: the program of the sound to replace, 1 to 128; "
                                 "\"-\" leaves the row unused").arg(number));
        MSBD[row]->setToolTip(tr("Row %1, Ziel MSB: the bank select MSB of the new sound, 0 to 127; "
                                 "\"-\" keeps the bank").arg(number));
        PRGD[row]->setToolTip(tr("Row %1, Ziel PRG: the program of the new sound, 1 to 128; "
                                 "\"-\" keeps the program").arg(number));
        for (QLineEdit* edit : {MSBQ[row], PRGQ[row], MSBD[row], PRGD[row]})
            connect(edit, &QLineEdit::textChanged, this, &TFProgrammchange::MSBQ1Change);
    }
    InEffect = MakeInEffectLine(client, QRect(8, kPanelHeight + 13, 441, kInEffectRoom));
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
