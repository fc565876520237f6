// The window canvas on X11: each picture is uploaded once as a pixmap
// through Qt's own connection (and, without a compositor, its shape is
// worked out once), and a step of the pet's motion is then one CopyArea,
// plus one shape request when the window is cut to the picture. Those
// steps can run on the cue player's thread: everything below that it uses
// is guarded by one mutex.
#include <QtGui/qguiapplication_platform.h>
#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QBitmap>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QRegion>
#include <QWindow>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/qt/window_canvas.h"
#include "platform/qt/xcb_support.h"

namespace glugmo {

namespace {

// Pixmaps live in the X server; this bounds what the pet keeps there. A
// rocking pet needs about a dozen steps, a stretch a few dozen, and each
// reaction a couple of dozen frames: at the usual sizes all of the reactions
// fit, so a tap replays one with copies alone.
constexpr qsizetype kKeptBudgetBytes = 8 * 1024 * 1024;

const xcb_format_t* pixmapFormat(const xcb_setup_t* setup, std::uint8_t depth) {
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it)) {
        if (it.data->depth == depth) return it.data;
    }
    return nullptr;
}

// Whether QImage rows can go to the server byte for byte: 32-bit pixels in
// the host's byte order, rows padded to 32 bits as QImage pads them.
bool takesQImageRows(const xcb_setup_t* setup, std::uint8_t depth) {
    const xcb_format_t* pixels = pixmapFormat(setup, depth);
    const auto hostOrder = QSysInfo::ByteOrder == QSysInfo::LittleEndian
                               ? XCB_IMAGE_ORDER_LSB_FIRST
                               : XCB_IMAGE_ORDER_MSB_FIRST;
    return pixels && pixels->bits_per_pixel == 32 && pixels->scanline_pad == 32 &&
           setup->image_byte_order == hostOrder;
}

xcb_rectangle_t toXcb(const QRect& rect) {
    return {static_cast<std::int16_t>(rect.x()), static_cast<std::int16_t>(rect.y()),
            static_cast<std::uint16_t>(rect.width()), static_cast<std::uint16_t>(rect.height())};
}

class X11Canvas final : public WindowCanvas, private QAbstractNativeEventFilter {
public:
    X11Canvas(QWidget& window, xcb_connection_t* c, std::uint8_t depth)
        : window_(window),
          c_(c),
          depth_(depth),
          player_(std::make_unique<CuePlayer>(mutex_, [this](const Key& key) {
              showOn(playingOn_, key);
          })) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    ~X11Canvas() override {
        player_.reset();  // before any pixmap it copies from goes
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(this);
        if (!x11::connection()) return;  // the connection is gone, and the pixmaps with it
        forgetKept();
        if (gc_) xcb_free_gc(c_, gc_);
        xcb_flush(c_);
    }

    bool has(Key key) const override {
        const std::lock_guard lock(mutex_);
        return kept_.contains(key);
    }

    std::optional<Key> shown() const override {
        const std::lock_guard lock(mutex_);
        return shown_;
    }

    void play(std::vector<Cue> cues) override {
        const std::lock_guard lock(mutex_);
        playingOn_ = windowId();
        if (shaped_) updateSelectedEvents(playingOn_);
        player_->play(std::move(cues));
    }

    void keep(Key key, const QImage& image, QPoint topLeft) override {
        const std::lock_guard lock(mutex_);
        player_->stop();
        if (kept_.contains(key)) release(kept_.extract(key).mapped());
        Kept kept;
        kept.rect = QRect(topLeft, image.size());
        if (!image.isNull()) {
            kept.pixmap = upload(image);
            if (shaped_) {
                const QRegion opaque(QBitmap::fromImage(image.createAlphaMask()));
                for (const QRect& rect : opaque) kept.shape.push_back(toXcb(rect));
            }
        }
        kept.lastUse = ++uses_;
        kept_.emplace(key, kept);
        evictBeyondBudget();
    }

    bool show(Key key) override {
        const std::lock_guard lock(mutex_);
        player_->stop();
        const xcb_window_t window = windowId();
        if (shaped_) updateSelectedEvents(window);
        return showOn(window, key);
    }

    void clear() override {
        const std::lock_guard lock(mutex_);
        player_->stop();
        const xcb_window_t window = windowId();
        if (shaped_) setShape(window, Kept{});
        fill(window, shownRect_);
        shown_.reset();
        shownRect_ = {};
        xcb_flush(c_);
    }

    void forget() override {
        const std::lock_guard lock(mutex_);
        player_->stop();
        forgetKept();
    }

    void setShaped(bool shaped) override {
        const std::lock_guard lock(mutex_);
        player_->stop();
        if (shaped == shaped_) return;
        shaped_ = shaped;
        if (shaped_) {
            forgetKept();
            return;
        }
        xcb_shape_mask(c_, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, windowId(), 0, 0, XCB_NONE);
        xcb_flush(c_);
    }

private:
    struct SelectedEvents {
        xcb_window_t window;
        Qt::WindowFlags flags;
        std::uint32_t mask;
    };

    struct Kept {
        xcb_pixmap_t pixmap = XCB_NONE;
        std::vector<xcb_rectangle_t> shape;  // its opaque pixels, banded as the server keeps them
        QRect rect;
        std::uint64_t lastUse = 0;
    };

    // With the mutex held, on either thread: nothing here asks Qt.
    bool showOn(xcb_window_t window, Key key) {
        const auto found = kept_.find(key);
        if (found == kept_.end()) return false;
        Kept& kept = found->second;
        kept.lastUse = ++uses_;
        if (shaped_) {
            setShapeQuietly(window, kept);
        } else {
            fillOutside(window, shownRect_, kept.rect);
        }
        drawnAt_ = copy(window, kept);
        shown_ = key;
        shownRect_ = kept.rect;
        xcb_flush(c_);
        return true;
    }

    void forgetKept() {
        for (auto& [key, kept] : kept_) release(kept);
        kept_.clear();
        shown_.reset();
    }

    xcb_window_t windowId() const { return static_cast<xcb_window_t>(window_.winId()); }

    xcb_gcontext_t makeGc(xcb_drawable_t drawable) {
        const xcb_gcontext_t gc = xcb_generate_id(c_);
        const std::uint32_t values[] = {0, 0};  // transparent fills, no exposure events
        xcb_create_gc(c_, gc, drawable, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES, values);
        return gc;
    }

    xcb_pixmap_t upload(const QImage& image) {
        const xcb_pixmap_t pixmap = xcb_generate_id(c_);
        xcb_create_pixmap(c_, depth_, pixmap, windowId(), static_cast<std::uint16_t>(image.width()),
                          static_cast<std::uint16_t>(image.height()));
        if (!gc_) gc_ = makeGc(pixmap);
        // A large picture goes in bands that fit the server's request size.
        const auto stride = static_cast<std::uint32_t>(image.bytesPerLine());
        const std::uint32_t maxBytes = xcb_get_maximum_request_length(c_) * 4 - 64;
        const int rowsPerBand = std::max<int>(1, static_cast<int>(maxBytes / stride));
        for (int y = 0; y < image.height(); y += rowsPerBand) {
            const int rows = std::min(rowsPerBand, image.height() - y);
            xcb_put_image(c_, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc_,
                          static_cast<std::uint16_t>(image.width()),
                          static_cast<std::uint16_t>(rows), 0, static_cast<std::int16_t>(y), 0,
                          depth_, stride * rows, image.constScanLine(y));
        }
        return pixmap;
    }

    void release(const Kept& kept) {
        if (kept.pixmap) xcb_free_pixmap(c_, kept.pixmap);
    }

    // A new shape uncovers parts of the window, and the copy that follows
    // paints all of it that can be seen: the exposures it would report are
    // not asked for, which spares the pet a wake-up at every step. Anything
    // exposed before the events are asked for again is painted by that copy
    // too.
    void setShapeQuietly(xcb_window_t window, const Kept& kept) {
        const bool known = selected_ && selected_->window == window;
        if (known) {
            const std::uint32_t quiet = selected_->mask & ~std::uint32_t{XCB_EVENT_MASK_EXPOSURE};
            xcb_change_window_attributes(c_, window, XCB_CW_EVENT_MASK, &quiet);
        }
        setShape(window, kept);
        if (known) xcb_change_window_attributes(c_, window, XCB_CW_EVENT_MASK, &selected_->mask);
    }

    // Notes the events Qt asked for on the window, on the program's thread
    // (it asks Qt). Qt changes them only with the window's flags (ghost
    // mode, management), so they are asked again only when the flags or the
    // native window changed; whoever changes the flags of a window showing
    // cues shows or plays again, which comes here.
    void updateSelectedEvents(xcb_window_t window) {
        const QWindow* handle = window_.windowHandle();
        if (!handle) {
            selected_.reset();
            return;
        }
        const Qt::WindowFlags flags = handle->flags();
        if (selected_ && selected_->window == window && selected_->flags == flags) return;
        selected_.reset();
        const x11::Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, window), nullptr));
        if (attributes) selected_ = SelectedEvents{window, flags, attributes->your_event_mask};
    }

    // Nothing to show makes an empty shape, not none (the whole window).
    void setShape(xcb_window_t window, const Kept& kept) {
        xcb_shape_rectangles(
            c_, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, XCB_CLIP_ORDERING_YX_BANDED, window,
            static_cast<std::int16_t>(kept.rect.x()), static_cast<std::int16_t>(kept.rect.y()),
            static_cast<std::uint32_t>(kept.shape.size()), kept.shape.data());
    }

    void fill(xcb_window_t window, const QRegion& region) {
        if (region.isEmpty() || !gc_) return;
        std::vector<xcb_rectangle_t> rects;
        for (const QRect& rect : region) rects.push_back(toXcb(rect));
        xcb_poly_fill_rectangle(c_, window, gc_, static_cast<std::uint32_t>(rects.size()),
                                rects.data());
    }

    // What `old` covered and `now` does not: at most four bands, sent
    // without building a region, since this runs at every step.
    void fillOutside(xcb_window_t window, const QRect& old, const QRect& now) {
        if (!gc_ || old.isEmpty()) return;
        const QRect kept = old.intersected(now);
        if (kept.isEmpty()) {
            const xcb_rectangle_t whole = toXcb(old);
            xcb_poly_fill_rectangle(c_, window, gc_, 1, &whole);
            return;
        }
        const QRect bands[] = {
            QRect(QPoint(old.left(), old.top()), QPoint(old.right(), kept.top() - 1)),
            QRect(QPoint(old.left(), kept.bottom() + 1), QPoint(old.right(), old.bottom())),
            QRect(QPoint(old.left(), kept.top()), QPoint(kept.left() - 1, kept.bottom())),
            QRect(QPoint(kept.right() + 1, kept.top()), QPoint(old.right(), kept.bottom())),
        };
        std::array<xcb_rectangle_t, 4> rects{};
        std::uint32_t count = 0;
        for (const QRect& band : bands) {
            if (!band.isEmpty()) rects[count++] = toXcb(band);
        }
        if (count > 0) xcb_poly_fill_rectangle(c_, window, gc_, count, rects.data());
    }

    // Copies `part` (in the window; the whole picture by default) of a kept
    // picture. Returns the request's sequence number, 0 when nothing was copied.
    unsigned int copy(xcb_window_t window, const Kept& kept, std::optional<QRect> part = {}) {
        if (!kept.pixmap) return 0;
        const QRect to = part.value_or(kept.rect);
        return xcb_copy_area(c_, kept.pixmap, window, gc_,
                             static_cast<std::int16_t>(to.x() - kept.rect.x()),
                             static_cast<std::int16_t>(to.y() - kept.rect.y()),
                             static_cast<std::int16_t>(to.x()), static_cast<std::int16_t>(to.y()),
                             static_cast<std::uint16_t>(to.width()),
                             static_cast<std::uint16_t>(to.height()))
            .sequence;
    }

    // An exposure the server sent before it ran the last copy (a new shape
    // uncovering part of the window) was painted by that copy already, as
    // far as the copy reached.
    bool paintedSince(const xcb_expose_event_t& expose) const {
        return drawnAt_ != 0 && static_cast<std::int16_t>(expose.sequence - drawnAt_) < 0;
    }

    void evictBeyondBudget() {
        qsizetype total = 0;
        for (const auto& [key, kept] : kept_)
            total += qsizetype(kept.rect.width()) * kept.rect.height() * 4;
        while (total > kKeptBudgetBytes && kept_.size() > 1) {
            auto oldest = kept_.end();
            for (auto it = kept_.begin(); it != kept_.end(); ++it) {
                if (it->first != shown_ &&
                    (oldest == kept_.end() || it->second.lastUse < oldest->second.lastUse)) {
                    oldest = it;
                }
            }
            if (oldest == kept_.end()) return;
            total -= qsizetype(oldest->second.rect.width()) * oldest->second.rect.height() * 4;
            release(oldest->second);
            kept_.erase(oldest);
        }
    }

    // Exposures are answered from the kept picture; the widget, whose
    // backing store knows nothing of it, never hears of them.
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_EXPOSE) return false;
        const auto* expose = reinterpret_cast<const xcb_expose_event_t*>(event);
        if (!window_.testAttribute(Qt::WA_WState_Created) || expose->window != windowId()) {
            return false;
        }
        const std::lock_guard lock(mutex_);
        QRegion area(expose->x, expose->y, expose->width, expose->height);
        if (paintedSince(*expose)) area -= shownRect_;
        exposed_ += area;
        if (expose->count == 0 && !exposed_.isEmpty()) {
            const auto found = shown_ ? kept_.find(*shown_) : kept_.end();
            const bool showing = found != kept_.end();
            fill(expose->window, showing ? exposed_.subtracted(shownRect_) : exposed_);
            // Only what was exposed: the rest is on screen already. This
            // copy does not count as the last whole one (drawnAt_).
            const QRect part = exposed_.boundingRect() & shownRect_;
            if (showing && !part.isEmpty()) copy(expose->window, found->second, part);
            exposed_ = {};
            xcb_flush(c_);
        }
        return true;
    }

    QWidget& window_;
    xcb_connection_t* c_;
    std::uint8_t depth_;
    mutable std::mutex mutex_;
    xcb_window_t playingOn_ = XCB_NONE;  // the native window when the cues were given
    std::unique_ptr<CuePlayer> player_;
    xcb_gcontext_t gc_ = XCB_NONE;
    std::map<Key, Kept> kept_;
    std::optional<Key> shown_;
    QRect shownRect_;
    QRegion exposed_;
    unsigned int drawnAt_ = 0;  // the last copy's request
    bool shaped_ = false;
    std::optional<SelectedEvents> selected_;
    std::uint64_t uses_ = 0;
};

}  // namespace

std::unique_ptr<WindowCanvas> createWindowCanvas(QWidget& window) {
    xcb_connection_t* c = x11::connection();
    if (!c || !window.testAttribute(Qt::WA_WState_Created)) return nullptr;
    const auto id = static_cast<xcb_window_t>(window.winId());
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr);
    if (!geometry) return nullptr;
    const std::uint8_t depth = geometry->depth;
    std::free(geometry);
    // 32 bits: the translucent window; 24: a screen without an alpha visual,
    // which ignores the alpha byte.
    if (depth != 32 && depth != 24) return nullptr;
    if (!takesQImageRows(xcb_get_setup(c), depth)) return nullptr;
    return std::make_unique<X11Canvas>(window, c, depth);
}

}  // namespace glugmo
