#include "SettingsInEffect.h"

#include <QLabel>

#include "WindowLook.h"

QLabel* MakeInEffectLine(QWidget* parent, const QRect& geometry) {
    auto* line = new QLabel(parent);
    line->setObjectName(QStringLiteral("InEffect"));
    line->setGeometry(geometry);
    line->setFont(SmallFont());
    ShowInEffect(line, false);
    return line;
}

void ShowInEffect(QLabel* line, bool inEffect) {
    const QString box = QString::fromLatin1(kApplySettingsCaption);
    if (inEffect) {
        line->setText(QStringLiteral("Werden beim Konvertieren angewendet (\"%1\" ist an).").arg(box));
        SetTextColour(line, QColor(0, 128, 0));
    } else {
        line->setText(QStringLiteral("Werden beim Konvertieren nicht angewendet (\"%1\" ist aus).").arg(box));
        SetTextColour(line, QColor(128, 128, 128));
    }
}
