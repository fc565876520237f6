#include "platform/qt/qt_random_source.h"

#include <QRandomGenerator>

namespace glugmo {

std::size_t QtRandomSource::uniformIndex(std::size_t bound) {
    if (bound <= 1) return 0;
    return static_cast<std::size_t>(QRandomGenerator::global()->bounded(quint64{bound}));
}

bool QtRandomSource::fairCoin() { return QRandomGenerator::global()->bounded(2) == 1; }

}  // namespace glugmo
