// The three windows of the program, created as the program creates them, in a
// temporary start folder. Message boxes and questions are recorded instead of
// shown (questions get the answer the test gives), and file dialogs answer
// with the name the test gives. The options the program remembers are
// forgotten first, unless the test keeps them to check what a restart shows.
#pragma once

#include <QDir>
#include <QFileDialog>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <memory>

#include "Finfo.h"
#include "MessageDisplay.h"
#include "RememberedOptions.h"
#include "Progr.h"
#include "TestSupport.h"
#include "Translations.h"
#include "Unit1.h"

class WindowSet {
public:
    // `prepare` runs in the start folder before the windows are created.
    template <typename Prepare>
    explicit WindowSet(Prepare prepare, bool keepRemembered = false) : previousFolder_(QDir::currentPath()) {
        // The texts are the English ones unless a test installs another language.
        static const bool english = InstallTranslations(QLocale(QLocale::English, QLocale::UnitedStates));
        Q_UNUSED(english);
        if (!keepRemembered) StoredOptions().clear();
        QDir::setCurrent(QString::fromStdString(folder_.Path().string()));
        prepare(folder_);
        SetMessageHook([this](const QString& text) { messages.push_back(text); });
        SetQuestionHook([this](const QString& text) {
            questions.push_back(text);
            return answer;
        });
        main = std::make_unique<TForm1>();
        programs = new TFProgrammchange(main.get());
        information = new TFInformationen(main.get(), main.get());
        main->SetSettingsWindows(programs, information);
        main->SetDialogRunner([this](QFileDialog&) { return dialogAnswer; });
    }
    WindowSet() : WindowSet([](const tonalux::testing::TempDir&) {}) {}
    // A restart: the options remembered by the windows before are kept.
    struct KeepRemembered {};
    explicit WindowSet(KeepRemembered) : WindowSet([](const tonalux::testing::TempDir&) {}, true) {}
    ~WindowSet() {
        main.reset();
        SetMessageHook({});
        SetQuestionHook({});
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
    QStringList questions;
    bool answer = true;    // what every question is answered
    QString dialogAnswer;  // what every file dialog answers; empty for "cancelled"

private:
    tonalux::testing::TempDir folder_;
    QString previousFolder_;
};

// The folders a start folder of the program holds: Midifile/ for the songs,
// Convert/ for what a run writes.
inline void MakeFolders(const tonalux::testing::TempDir& dir) {
    std::filesystem::create_directories(dir.Path() / "Midifile");
    std::filesystem::create_directories(dir.Path() / "Convert");
}
