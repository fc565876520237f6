#pragma once

#include <QAbstractNativeEventFilter>
#include <QWidget>

namespace glugmo {

// Takes back the attention flag that some window managers put on a window
// shown without activation (KWin at every map, mutter when shown again):
// the pet never asks for the user's attention, and a flagged window blinks
// in pagers and task switchers.
class AttentionGuard final : public QAbstractNativeEventFilter {
public:
    explicit AttentionGuard(QWidget& window);
    ~AttentionGuard() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    QWidget& window_;
};

}  // namespace glugmo
