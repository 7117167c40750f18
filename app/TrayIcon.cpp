#include "TrayIcon.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include "widgets/AppIcon.h"

TrayIcon::TrayIcon(QWidget* window) : QSystemTrayIcon(TonaluxIcon(), window), window_(window), menu_(new QMenu) {
    Restore = menu_->addAction(tr("&Restore"));
    menu_->addSeparator();
    Quit = menu_->addAction(tr("&Quit"));
    setContextMenu(menu_);
    connect(Restore, &QAction::triggered, this, &TrayIcon::RestoreWindow);
    connect(Quit, &QAction::triggered, window_, &QWidget::close);
    connect(this, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick) RestoreWindow();
    });
    SetState(tr("Ready"));
}

// The menu has no parent widget, so it is deleted here.
TrayIcon::~TrayIcon() { delete menu_; }

void TrayIcon::SetState(const QString& state) {
    setToolTip(QStringLiteral("Tonalux & Belvorta\n") + state);
}

void TrayIcon::RestoreWindow() {
    window_->showNormal();
    window_->raise();
    window_->activateWindow();
}
