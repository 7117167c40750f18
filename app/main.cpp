// Program start: the command line ("tonalux [DIR]"), the application titled
// "Tonalux", the main window, then the program-change window and the
// information window (both hidden), and the event loop until the main window
// is closed.
#include <QApplication>
#include <QLocale>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "Finfo.h"
#include "MessageDisplay.h"
#include "Progr.h"
#include "StartArguments.h"
#include "TonaluxVersion.h"
#include "Translations.h"
#include "Unit1.h"
#include "WorkingFolder.h"

namespace {

// An error that escapes the handling of an event is shown with its text, and
// the program goes on with the next event.
class TonaluxApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            ShowMessageBox(FromEightBit(error.what()));
        } catch (...) {
            ShowMessageBox(QCoreApplication::translate("MessageDisplay", "Unknown error"));
        }
        return false;
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    // Read before the application exists, so that --help and --version work
    // without a screen, and DIR is the current folder before the main window
    // takes it as its base folder.
    bool folderGiven = false;
    if (const auto status = HandleStartArguments(std::vector<std::string>(argv + 1, argv + argc), &folderGiven))
        return *status;
    SetFolderFromCommandLine(folderGiven);

    TonaluxApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    QApplication::setApplicationVersion(QString::fromLatin1(tonalux::kVersion));
    InstallTranslations(QLocale::system());

    std::unique_ptr<TForm1> mainWindow;
    try {
        mainWindow = std::make_unique<TForm1>();
        Form1 = mainWindow.get();
        // The settings windows belong to the main window and close with it.
        FProgrammchange = new TFProgrammchange(Form1);
        FInformationen = new TFInformationen(Form1, Form1);
        Form1->SetSettingsWindows(FProgrammchange, FInformationen);
    } catch (const std::exception& error) {
        // An error while the windows are being built ends the program.
        ShowMessageBox(FromEightBit(error.what()));
        return 1;
    }

    Form1->show();
    const int result = QApplication::exec();
    FProgrammchange = nullptr;
    FInformationen = nullptr;
    Form1 = nullptr;
    return result;
}
