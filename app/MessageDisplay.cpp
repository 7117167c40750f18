#include "MessageDisplay.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <exception>

namespace {

MessageHook& Hook() {
    static MessageHook hook;
    return hook;
}

QuestionHook& Question() {
    static QuestionHook hook;
    return hook;
}

}  // namespace

void SetQuestionHook(QuestionHook hook) { Question() = std::move(hook); }

bool AskYesNo(const QString& question, QWidget* parent) {
    if (Question()) return Question()(question);
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(kApplicationTitle), question,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool MessagesHooked() { return static_cast<bool>(Hook()); }

void SetMessageHook(MessageHook hook) { Hook() = std::move(hook); }

void ShowMessageBox(const QString& text, QWidget* parent) {
    if (Hook()) {
        Hook()(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kApplicationTitle), text, QMessageBox::Ok, parent);
    box.exec();
}

QString ShownCaption(const QString& caption) {
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;  // "&&" stands for one "&"
        shown += caption[i];
    }
    return shown;
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
        ShowMessageBox(QCoreApplication::translate("MessageDisplay", "Unknown error"), parent);
    }
}
