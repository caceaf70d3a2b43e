#include "ui/platform/AtSpiEvents.h"

#include <QAccessible>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace ui::atspi {

namespace {

// Qt's bridge opens its connection to the accessibility bus under this name;
// asking for it by name shares that connection.
const QString kBridgeConnection = QStringLiteral("a11y");
const QString kObjectEvents = QStringLiteral("org.a11y.atspi.Event.Object");
// The bridge's object paths: the prefix and the interface's unique id.
const QString kObjectPathPrefix = QStringLiteral("/org/a11y/atspi/accessible/");
const QString kApplicationPath = QStringLiteral("/org/a11y/atspi/accessible/root");

// An accessible object on the bus: its connection's name and its path, the
// D-Bus structure (so).
struct ObjectReference {
    QString service;
    QDBusObjectPath path;
};

QDBusArgument& operator<<(QDBusArgument& argument, const ObjectReference& reference)
{
    argument.beginStructure();
    argument << reference.service << reference.path;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, ObjectReference& reference)
{
    argument.beginStructure();
    argument >> reference.service >> reference.path;
    argument.endStructure();
    return argument;
}

QString pathOf(QAccessibleInterface* object)
{
    return kObjectPathPrefix + QString::number(QAccessible::uniqueId(object));
}

ObjectReference referenceTo(const QDBusConnection& bus, const QString& path)
{
    return {bus.baseService(), QDBusObjectPath(path)};
}

// Event.Object signals carry (kind, detail1, detail2, any_data, application).
// `anyData` is the path of the object they name.
void send(const QString& signal, QAccessibleInterface* source, int detail1, const QString& anyData)
{
    if (!QAccessible::isActive()) {
        return;
    }
    const QDBusConnection bus(kBridgeConnection);
    if (!bus.isConnected()) {
        return;
    }
    static const bool registered = [] {
        qDBusRegisterMetaType<ObjectReference>();
        return true;
    }();
    static_cast<void>(registered);
    QDBusMessage message = QDBusMessage::createSignal(pathOf(source), kObjectEvents, signal);
    message << QString() << detail1 << 0
            << QVariant::fromValue(QDBusVariant(QVariant::fromValue(referenceTo(bus, anyData))))
            << QVariant::fromValue(referenceTo(bus, kApplicationPath));
    bus.send(message);
}

} // namespace

void activeDescendantChanged(QAccessibleInterface* container, QAccessibleInterface* child, int index)
{
    if (container && container->isValid() && child && child->isValid()) {
        send(QStringLiteral("ActiveDescendantChanged"), container, index, pathOf(child));
    }
}

void selectionChanged(QAccessibleInterface* container)
{
    if (container && container->isValid()) {
        send(QStringLiteral("SelectionChanged"), container, 0, pathOf(container));
    }
}

} // namespace ui::atspi
