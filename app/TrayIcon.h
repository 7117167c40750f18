// The notification-area icon: a tooltip with the program's name and what it
// is doing, a double click and the menu's "Restore" bring the window back,
// "Quit" closes it.
#pragma once

#include <QSystemTrayIcon>

class QAction;
class QMenu;

class TrayIcon : public QSystemTrayIcon {
    Q_OBJECT
public:
    // `window` is brought back by Restore and closed by Quit.
    explicit TrayIcon(QWidget* window);
    ~TrayIcon() override;

    // The second line of the tooltip: "Ready", "Converting 17 of 53: Song.mid".
    void SetState(const QString& state);

    QAction* Restore = nullptr;
    QAction* Quit = nullptr;

private:
    void RestoreWindow();

    QWidget* window_;
    QMenu* menu_;
};
