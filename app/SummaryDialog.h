// The summary at the end of a run: the counts first, then one line per song in
// a list that scrolls, can be copied, and saved as the report with outcomes.
// The dialog never grows past the screen, however many songs the run had.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class SummaryDialog : public QDialog {
    Q_OBJECT
public:
    SummaryDialog(const QString& counts, const QStringList& lines, QWidget* parent = nullptr);

    QLabel* Counts = nullptr;
    QPlainTextEdit* Songs = nullptr;
    QPushButton* Copy = nullptr;
    QPushButton* Save = nullptr;
    QPushButton* OpenFolder = nullptr;
    QPushButton* Close = nullptr;

signals:
    // "Save…": the report with outcomes; "Open the Convert folder".
    void SaveRequested();
    void OpenFolderRequested();
};
