// The editor's X11 window: a child of the host's window with its own connection and thread, which
// handles input, runs the 20 ms timer and paints double-buffered (an image in memory, copied to the
// window where it changed). Nothing outside this folder includes Xlib.
// The editor's own headers come first: Xlib's macros (None, Status, Bool) would clash with their names.
#include "editor/platform/platform_window.h"
#include "editor/platform/x11/x11_error_trap.h"
#include "editor/platform/x11/x11_keys.h"
#include "editor/ui/platform_services.h"
#include "editor/ui/root_view.h"
#include "editor/ui/theme.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <cairo-xlib.h>
#include <cairo.h>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <future>
#include <thread>

namespace quenvale::editor {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTickPeriod = std::chrono::milliseconds(20);
constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                            LeaveWindowMask | KeyPressMask | StructureNotifyMask;

class X11Window final : public PlatformWindow, public ui::PlatformServices {
public:
    X11Window(Window parent, ui::RootView& root, WindowClient& client) : parent_(parent), root_(root), client_(client) {}
    ~X11Window() override { stop(); }

    // [host UI thread] Starts the thread; true once the window is mapped and painted.
    bool start() {
        if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) return false;
        std::future<bool> opened = openResult_.get_future();
        thread_ = std::thread([this] { run(); });
        if (opened.get()) return true;
        thread_.join();
        return false;
    }

    // PlatformServices (window thread).
    void warpPointer(ui::Point p) override { XWarpPointer(display_, None, window_, 0, 0, 0, 0, p.x, p.y); }
    void setPointerHidden(bool hidden) override {
        pointerHidden_ = hidden;
        XDefineCursor(display_, window_, hidden ? invisibleCursor() : shapeCursor(shape_));
    }
    void setCursor(ui::PointerShape shape) override {
        shape_ = shape;
        if (!pointerHidden_) XDefineCursor(display_, window_, shapeCursor(shape));
    }

private:
    void stop() {
        if (!thread_.joinable()) {
            closePipe();
            return;
        }
        stopping_.store(true);
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = write(wake_[1], &byte, 1);
        thread_.join();
        closePipe();
    }
    void closePipe() {
        for (int& fd : wake_) {
            if (fd >= 0) close(fd);
            fd = -1;
        }
    }

    void run() {
        pthread_setname_np(pthread_self(), "quenvale-editor");
        if (!create()) {
            destroy();
            openResult_.set_value(false);
            return;
        }
        client_.windowOpened(*this);
        paintDamage();
        XFlush(display_);
        openResult_.set_value(true);
        loop();
        client_.windowClosing();
        destroy();
    }

    bool create() {
        display_ = XOpenDisplay(nullptr);
        if (display_ == nullptr) return false;
        x11::adoptDisplay(display_);
        XWindowAttributes parentAttributes;
        const Status got = XGetWindowAttributes(display_, parent_, &parentAttributes);
        if (x11::takeError(display_) != 0 || got == 0) return false;
        XSetWindowAttributes attributes{};
        attributes.event_mask = kEventMask;
        attributes.background_pixmap = None;
        window_ = XCreateWindow(display_, parent_, 0, 0, ui::theme::kWindowWidth, ui::theme::kWindowHeight, 0,
                                CopyFromParent, InputOutput, CopyFromParent, CWEventMask | CWBackPixmap, &attributes);
        XMapWindow(display_, window_);
        if (x11::takeError(display_) != 0) {
            window_ = 0;  // the server made nothing we would have to destroy
            return false;
        }
        screen_ = cairo_xlib_surface_create(display_, window_, parentAttributes.visual, ui::theme::kWindowWidth,
                                            ui::theme::kWindowHeight);
        back_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, ui::theme::kWindowWidth, ui::theme::kWindowHeight);
        return cairo_surface_status(screen_) == CAIRO_STATUS_SUCCESS &&
               cairo_surface_status(back_) == CAIRO_STATUS_SUCCESS;
    }

    void destroy() {
        if (back_ != nullptr) cairo_surface_destroy(back_);
        if (screen_ != nullptr) cairo_surface_destroy(screen_);
        back_ = screen_ = nullptr;
        if (display_ == nullptr) return;
        for (Cursor& c : cursors_) {
            if (c != 0) XFreeCursor(display_, c);
            c = 0;
        }
        if (invisible_ != 0) XFreeCursor(display_, invisible_);
        // A host that destroyed its own window first took ours with it.
        if (window_ != 0 && !windowGone_) XDestroyWindow(display_, window_);
        x11::takeError(display_);
        x11::releaseDisplay(display_);
        XCloseDisplay(display_);
        display_ = nullptr;
    }

    void loop() {
        const int xfd = ConnectionNumber(display_);
        auto nextTick = Clock::now() + kTickPeriod;
        while (!stopping_.load()) {
            handleEvents();
            const auto now = Clock::now();
            if (now >= nextTick) {
                root_.tick();
                // A late tick is not made up for; the timer keeps its period from now.
                nextTick = std::max(nextTick + kTickPeriod, now + kTickPeriod / 2);
                paintDamage();
            }
            if (!windowGone_) XFlush(display_);
            if (XPending(display_) > 0) continue;
            const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(nextTick - Clock::now()).count();
            pollfd fds[2] = {{xfd, POLLIN, 0}, {wake_[0], POLLIN, 0}};
            poll(fds, 2, static_cast<int>(std::max<long long>(0, wait)));
        }
    }

    void handleEvents() {
        ui::Rect exposed{};
        bool input = false;
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.xany.window != window_) continue;
            switch (event.type) {
                case Expose:
                    exposed = exposed.united({event.xexpose.x, event.xexpose.y, event.xexpose.width, event.xexpose.height});
                    break;
                case ButtonPress:
                    press(event.xbutton);
                    input = true;
                    break;
                case ButtonRelease:
                    if (auto b = button(event.xbutton.button); b != ui::MouseButton::NoButton)
                        root_.pointerRelease({event.xbutton.x, event.xbutton.y}, b, x11::translateModifiers(event.xbutton.state));
                    input = true;
                    break;
                case MotionNotify: {
                    // Only the latest position of a burst matters.
                    while (XCheckTypedWindowEvent(display_, window_, MotionNotify, &event)) {}
                    root_.pointerMove({event.xmotion.x, event.xmotion.y}, x11::translateModifiers(event.xmotion.state));
                    input = true;
                    break;
                }
                case LeaveNotify:
                    if (event.xcrossing.mode == NotifyNormal) root_.pointerLeft();
                    break;
                case KeyPress:
                    root_.keyPress(x11::translateKey(event.xkey));
                    input = true;
                    break;
                case DestroyNotify:
                    windowGone_ = true;
                    break;
                default:
                    break;
            }
        }
        if (input) paintDamage();
        if (!exposed.empty()) present(exposed);
    }

    static ui::MouseButton button(unsigned int b) {
        switch (b) {
            case Button1: return ui::MouseButton::Left;
            case Button2: return ui::MouseButton::Middle;
            case Button3: return ui::MouseButton::Right;
            default: return ui::MouseButton::NoButton;
        }
    }

    void press(const XButtonEvent& e) {
        const uint32_t modifiers = x11::translateModifiers(e.state);
        if (e.button == Button4 || e.button == Button5) {
            root_.pointerWheel({e.x, e.y}, e.button == Button4 ? 1 : -1, modifiers);
            return;
        }
        const ui::MouseButton b = button(e.button);
        if (b == ui::MouseButton::NoButton) return;
        root_.pointerPress({e.x, e.y}, b, modifiers, e.time);
        // Keys come to us only while something of ours wants them (a text field), so that the host
        // keeps its keyboard shortcuts otherwise.
        if (root_.focus() != nullptr && !windowGone_) XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
    }

    void paintDamage() {
        const ui::Rect damage = root_.takeDamage();
        if (damage.empty() || back_ == nullptr) return;
        cairo_t* cr = cairo_create(back_);
        root_.paintArea(cr, damage);
        cairo_destroy(cr);
        present(damage);
    }

    void present(const ui::Rect& area) {
        if (windowGone_ || screen_ == nullptr) return;
        cairo_surface_flush(back_);
        cairo_t* cr = cairo_create(screen_);
        cairo_set_source_surface(cr, back_, 0, 0);
        cairo_rectangle(cr, area.x, area.y, area.w, area.h);
        cairo_fill(cr);
        cairo_destroy(cr);
        cairo_surface_flush(screen_);
    }

    Cursor shapeCursor(ui::PointerShape shape) {
        static constexpr unsigned int kShapes[] = {XC_left_ptr, XC_hand2, XC_sb_h_double_arrow, XC_sb_v_double_arrow,
                                                   XC_xterm};
        Cursor& c = cursors_[static_cast<int>(shape)];
        if (c == 0) c = XCreateFontCursor(display_, kShapes[static_cast<int>(shape)]);
        return c;
    }

    Cursor invisibleCursor() {
        if (invisible_ != 0) return invisible_;
        static const char kEmpty[1] = {0};
        Pixmap blank = XCreateBitmapFromData(display_, window_, kEmpty, 1, 1);
        XColor black{};
        invisible_ = XCreatePixmapCursor(display_, blank, blank, &black, &black, 0, 0);
        XFreePixmap(display_, blank);
        return invisible_;
    }

    Window parent_;
    ui::RootView& root_;
    WindowClient& client_;
    std::thread thread_;
    std::promise<bool> openResult_;
    std::atomic<bool> stopping_{false};
    int wake_[2] = {-1, -1};

    // Window thread only.
    Display* display_ = nullptr;
    Window window_ = 0;
    bool windowGone_ = false;
    cairo_surface_t* screen_ = nullptr;
    cairo_surface_t* back_ = nullptr;
    Cursor cursors_[5] = {};
    Cursor invisible_ = 0;
    ui::PointerShape shape_ = ui::PointerShape::Arrow;
    bool pointerHidden_ = false;
};

}  // namespace

std::unique_ptr<PlatformWindow> openPlatformWindow(void* parent, ui::RootView& root, WindowClient& client) {
    if (parent == nullptr) return nullptr;
    auto window = std::make_unique<X11Window>(static_cast<Window>(reinterpret_cast<uintptr_t>(parent)), root, client);
    if (!window->start()) return nullptr;
    return window;
}

}  // namespace quenvale::editor
