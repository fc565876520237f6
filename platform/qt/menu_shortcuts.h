#pragma once

#include <QMenu>
#include <QObject>

namespace glugmo {

// Makes the shortcuts shown in an open popup menu work. Qt looks for a
// shortcut among the windows of the application that is active, and a pet
// that never takes focus has none: only the open menu sees the keys.
class MenuShortcuts final : public QObject {
public:
    // Watches the menu's keys for as long as the menu lives.
    static void install(QMenu& menu);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};

}  // namespace glugmo
