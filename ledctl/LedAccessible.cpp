#include "LedAccessible.h"

#include "LED.h"

#include <QAccessibleWidget>

namespace LEDCtl1 {

namespace {

class LedAccessible final : public QAccessibleWidget {
public:
    explicit LedAccessible(LED *led) : QAccessibleWidget(led, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override
    {
        const auto *led = static_cast<const LED *>(widget());
        switch (kind) {
        case QAccessible::Name:
            return led->accessibleName().isEmpty() ? led->Caption() : led->accessibleName();
        case QAccessible::Value:
            return led->Caption();
        default:
            return QAccessibleWidget::text(kind);
        }
    }
};

QAccessibleInterface *ledInterface(const QString &, QObject *object)
{
    if (auto *led = qobject_cast<LED *>(object))
        return new LedAccessible(led);
    return nullptr;
}

} // namespace

void InstallLedAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(ledInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace LEDCtl1
