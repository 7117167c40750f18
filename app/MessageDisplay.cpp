#include "MessageDisplay.h"

#include <QMessageBox>
#include <exception>

namespace {

MessageHook& Hook() {
    static MessageHook hook;
    return hook;
}

}  // namespace

void SetMessageHook(MessageHook hook) { Hook() = std::move(hook); }

void ShowMessageBox(const QString& text, QWidget* parent) {
    if (Hook()) {
        Hook()(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kApplicationTitle), text, QMessageBox::Ok, parent);
    box.exec();
}

QString FromEightBit(const std::string& text) {
    QString decoded = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (decoded.contains(QChar::ReplacementCharacter))
        decoded = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    return decoded;
}

void RunGuarded(const std::function<void()>& handler, QWidget* parent) {
    try {
        handler();
    } catch (const std::exception& error) {
        ShowMessageBox(FromEightBit(error.what()), parent);
    } catch (...) {
        ShowMessageBox(QStringLiteral("Unbekannter Fehler"), parent);
    }
}
