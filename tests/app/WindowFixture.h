// The three windows of the program, created as the program creates them, in a
// temporary start folder. Message boxes are recorded instead of shown, and
// file dialogs answer with the name the test gives.
#pragma once

#include <QDir>
#include <QFileDialog>
#include <QString>
#include <QStringList>
#include <memory>

#include "Finfo.h"
#include "MessageDisplay.h"
#include "Progr.h"
#include "TestSupport.h"
#include "Unit1.h"

class WindowSet {
public:
    // `prepare` runs in the start folder before the windows are created.
    template <typename Prepare>
    explicit WindowSet(Prepare prepare) : previousFolder_(QDir::currentPath()) {
        QDir::setCurrent(QString::fromStdString(folder_.Path().string()));
        prepare(folder_);
        SetMessageHook([this](const QString& text) { messages.push_back(text); });
        main = std::make_unique<TForm1>();
        programs = new TFProgrammchange(main.get());
        information = new TFInformationen(main.get(), main.get());
        main->SetSettingsWindows(programs, information);
        main->SetDialogRunner([this](QFileDialog&) { return dialogAnswer; });
    }
    WindowSet() : WindowSet([](const tonalux::testing::TempDir&) {}) {}
    ~WindowSet() {
        main.reset();
        SetMessageHook({});
        QDir::setCurrent(previousFolder_);
    }
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

    std::string File(const std::string& name) const { return folder_.File(name); }
    const tonalux::testing::TempDir& Folder() const { return folder_; }

    std::unique_ptr<TForm1> main;
    TFProgrammchange* programs = nullptr;
    TFInformationen* information = nullptr;
    QStringList messages;
    QString dialogAnswer;  // what every file dialog answers; empty for "cancelled"

private:
    tonalux::testing::TempDir folder_;
    QString previousFolder_;
};
