#include "SettingsInEffect.h"

#include <QCoreApplication>
#include <QLabel>

#include "WindowLook.h"

QLabel* MakeInEffectLine(QWidget* parent, const QRect& geometry) {
    auto* line = new QLabel(parent);
    line->setObjectName(QStringLiteral("InEffect"));
    line->setGeometry(geometry);
    line->setFont(SansFont(11));
    line->setWordWrap(true);
    line->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ShowInEffect(line, false);
    return line;
}

void ShowInEffect(QLabel* line, bool inEffect) {
    const QString box = QString::fromLatin1(kApplySettingsCaption);
    if (inEffect) {
        line->setText(QCoreApplication::translate("SettingsInEffect", "Applied when converting (\"%1\" is on).").arg(box));
        SetTextColour(line, QColor(0, 128, 0));
    } else {
        line->setText(QCoreApplication::translate("SettingsInEffect", "Not applied when converting (\"%1\" is off).").arg(box));
        SetTextColour(line, QColor(128, 128, 128));
    }
}
