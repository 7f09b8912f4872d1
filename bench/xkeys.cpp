// SPDX-License-Identifier: GPL-3.0-or-later
// Key to repaint on the real X path: the real window with the real data runs on the xcb
// platform; a second thread, on an X connection of its own, presses keys through XTest and
// waits for the X server's DAMAGE event of the slot's repaint (the hit's red item). The clock
// runs from the fake key press being sent to that event: the server's key delivery, Qt's
// event handling, the judge, the paint and the flush are all inside. The window is only
// asked which keys hit (before the clock starts) and to end the hit effects between rounds.
// Run under an X server with a window manager (bench/xrun).
//   quillado_xkeys_bench [hits per case]

#include "app/InputBox.h"
#include "app/Unit1.h"
#include "bench/BenchSupport.h"
#include "platform/PaintSettle.h"
#include "platform/Platform.h"
#include "presentation/SlotGlyphs.h"

#include <QApplication>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Runs `f` in the window's thread and waits for it.
template <typename F> void OnWindowThread(F f)
{
    QMetaObject::invokeMethod(qApp, std::move(f), Qt::BlockingQueuedConnection);
}

struct Case {
    int mode;
    const char* name;
    bool fullScreen;
};

class Injector {
public:
    bool Open()
    {
        m_c = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_c))
            return false;
        const xcb_query_extension_reply_t* damage = xcb_get_extension_data(m_c, &xcb_damage_id);
        const xcb_query_extension_reply_t* test = xcb_get_extension_data(m_c, &xcb_test_id);
        if (!damage || !damage->present || !test || !test->present)
            return false;
        m_damageEvent = damage->first_event;
        free(xcb_damage_query_version_reply(m_c, xcb_damage_query_version(m_c, 1, 1), nullptr));
        // Keycodes of a-z and space from the server's own keyboard map.
        const xcb_setup_t* setup = xcb_get_setup(m_c);
        const int first = setup->min_keycode, count = setup->max_keycode - setup->min_keycode + 1;
        xcb_get_keyboard_mapping_reply_t* map = xcb_get_keyboard_mapping_reply(
            m_c, xcb_get_keyboard_mapping(m_c, setup->min_keycode, uint8_t(count)), nullptr);
        if (!map)
            return false;
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
        for (int k = 0; k < count; ++k) {
            const xcb_keysym_t sym = syms[k * map->keysyms_per_keycode];
            if ((sym >= 'a' && sym <= 'z') || sym == ' ')
                m_code[sym] = uint8_t(first + k);
        }
        free(map);
        return m_code['a'] && m_code[' '];
    }

    ~Injector()
    {
        if (m_c)
            xcb_disconnect(m_c);
    }

    void Watch(xcb_window_t window)
    {
        if (m_damage)
            xcb_damage_destroy(m_c, m_damage);
        m_damage = xcb_generate_id(m_c);
        xcb_damage_create(m_c, m_damage, window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
        m_window = window;
        Drain();
    }

    void Key(char c, bool press)
    {
        const char lower = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
        xcb_test_fake_input(
            m_c, press ? XCB_KEY_PRESS : XCB_KEY_RELEASE, m_code[uint8_t(lower)], XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(m_c);
    }

    // Everything the server has reported so far is dropped.
    void Drain()
    {
        free(xcb_get_input_focus_reply(m_c, xcb_get_input_focus(m_c), nullptr));
        while (xcb_generic_event_t* e = xcb_poll_for_event(m_c))
            free(e);
    }

    // Waits for a drawing into the window that meets `area`; the moment it arrived, or a
    // time point in the past when none came in time.
    Clock::time_point WaitForDamage(const QRect& area, int timeoutMs)
    {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Clock::now() < deadline) {
            while (xcb_generic_event_t* e = xcb_poll_for_event(m_c)) {
                const auto now = Clock::now();
                bool met = false;
                if ((e->response_type & 0x7f) == m_damageEvent + XCB_DAMAGE_NOTIFY) {
                    const auto* d = reinterpret_cast<xcb_damage_notify_event_t*>(e);
                    met = d->drawable == m_window
                        && area.intersects(QRect(d->area.x, d->area.y, d->area.width, d->area.height));
                }
                free(e);
                if (met)
                    return now;
            }
            pollfd fd { xcb_get_file_descriptor(m_c), POLLIN, 0 };
            poll(&fd, 1, 5);
        }
        return {};
    }

private:
    xcb_connection_t* m_c = nullptr;
    uint8_t m_damageEvent = 0;
    uint8_t m_code[128] = {};
    xcb_damage_damage_t m_damage = 0;
    xcb_window_t m_window = 0;
};

// The keys that hit slot 1.
std::string HitKeys(TForm1& form, int mode)
{
    if (mode == Mode::UpperLetters)
        return form.bank.keySlots[1];
    std::string code = form.bank.wbSlots[1].codes[1];
    for (char& c : code)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return code.size() < 4 ? code + " " : code;
}

void EndEffects(TForm1& form)
{
    for (auto [timer, tick] : { std::pair { form.Timer3, &TForm1::Timer3Timer }, { form.Timer4, &TForm1::Timer4Timer },
             { form.Timer5, &TForm1::Timer5Timer }, { form.Timer6, &TForm1::Timer6Timer } })
        if (timer->isActive())
            (form.*tick)();
}

// How a round draws: as the program does, or with one of its two shortcuts switched off.
enum Variant { AsShipped, GlyphCacheOff, SettleOff, VariantCount };
const char* const variantNames[VariantCount] = { "", ", glyph cache off", ", drawings settled in the key's paint" };

// One case: a session in the mode, in the face asked for, `hits` timed hits on slot 1.
bool RunCase(TForm1& form, SlotGlyphs* glyphs, PaintSettle* settle, Injector& x, const Case& c, int hits)
{
    QRect slot;
    xcb_window_t window = 0;
    OnWindowThread([&] {
        if (c.fullScreen)
            form.HandleSysCommand(TForm1::SC_MAXIMIZE);
        else
            form.HandleSysCommand(TForm1::SC_RESTORE);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    OnWindowThread([&] {
        form.activateWindow();
        if (!QTest::qWaitForWindowActive(&form))
            std::fprintf(stderr, "%s: the window is not active\n", c.name);
        form.SetItemIndex(form.RadioGroup1, c.mode);
        form.SetItemIndex(form.RadioGroup2, 7);
        Platform::RunHandler([&] { form.Button1Click(); });
        form.Edit1->setFocus();
        slot = form.Label1->geometry();
        window = xcb_window_t(form.winId());
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    x.Watch(window);
    // Hits take turns between the program as it is, the glyph cache off (QLabel then draws the
    // glyph itself) and the idle-time settling off (the key's paint then waits for the X
    // server's read of the previous drawing), so all three meet the same machine.
    std::vector<double> times[VariantCount];
    int failures = 0;
    const auto timed = [&] {
        std::size_t n = 0;
        for (const auto& t : times)
            n += t.size();
        return int(n);
    };
    for (int round = 0; timed() < VariantCount * hits && failures < 20; ++round) {
        const Variant variant = Variant(round % VariantCount);
        std::string keys;
        int before = 0;
        OnWindowThread([&] {
            for (QLabel* label : { form.Label1, form.Label2, form.Label3, form.Label4 }) {
                label->removeEventFilter(glyphs);
                // Without the cache the label draws itself on what Qt paints behind it.
                label->setAttribute(Qt::WA_OpaquePaintEvent, variant != GlyphCacheOff);
                if (variant != GlyphCacheOff)
                    label->installEventFilter(glyphs);
            }
            form.removeEventFilter(settle);
            if (variant != SettleOff)
                form.installEventFilter(settle);
            EndEffects(form);
            form.Edit1->clear();
            keys = HitKeys(form, c.mode);
            before = form.keyHitCount + form.inputHitCount;
        });
        // The code's first letters only fill the box.
        for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
            x.Key(keys[i], true);
            x.Key(keys[i], false);
            std::this_thread::sleep_for(std::chrono::milliseconds(4));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
        x.Drain();
        const auto t0 = Clock::now();
        x.Key(keys.back(), true);
        const auto painted = x.WaitForDamage(slot, 1000);
        x.Key(keys.back(), false);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        int after = 0;
        OnWindowThread([&] { after = form.keyHitCount + form.inputHitCount; });
        if (painted < t0 || after != before + 1) {
            std::fprintf(stderr, "%s: keys '%s' gave no timed hit\n", c.name, keys.c_str());
            ++failures;
            continue;
        }
        times[variant].push_back(Ms(painted - t0));
    }
    OnWindowThread([&] {
        EndEffects(form);
        Platform::RunHandler([&] { form.Button2Click(); });
    });
    for (int variant = 0; variant < VariantCount; ++variant) {
        const Stats s = Summarise(times[variant]);
        std::printf("| key to repaint (XTest → DAMAGE), %s, %s face, hit%s | %.3f ms | %.3f ms | %.3f ms | %zu | ≤ 1 "
                    "ms | %s |\n",
            c.name, c.fullScreen ? "full-screen" : "window", variantNames[variant], s.median, s.p95, s.max, s.n,
            s.n && s.median <= 1.0 ? "met" : "missed");
    }
    std::fflush(stdout);
    return failures < 20;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Pelunor"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillado"));
    const int hits = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
        std::fprintf(stderr, "needs the xcb platform on an X server\n");
        return 2;
    }
    Platform::SetProgramDirForTesting(QStringLiteral(QUILLADO_BIN_DIR));
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    Platform::SetMessageSink(
        [](const Platform::Message& m) { std::fprintf(stderr, "message: %s\n", qPrintable(m.text)); });

    TForm1 form;
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form)) {
        std::fprintf(stderr, "the window never became active\n");
        return 1;
    }
    SlotGlyphs* glyphs = nullptr;
    for (QObject* child : form.children())
        if (auto* g = dynamic_cast<SlotGlyphs*>(child))
            glyphs = g;
    PaintSettle* settle = nullptr;
    for (QObject* child : form.children())
        if (auto* p = dynamic_cast<PaintSettle*>(child))
            settle = p;
    if (!glyphs || !settle) {
        std::fprintf(stderr, "the window has no glyph cache or no idle-time settling\n");
        return 1;
    }
    Injector x;
    if (!x.Open()) {
        std::fprintf(stderr, "no X server with XTest and DAMAGE\n");
        return 1;
    }
    std::printf("| Measure | Median | 95th percentile | Max | Hits | Target | |\n|---|---|---|---|---|---|---|\n");
    int status = 0;
    std::thread driver([&] {
        const Case cases[] = {
            { Mode::UpperLetters, "英文(大)", false },
            { Mode::WubiChars, "五笔练习", false },
            { Mode::UpperLetters, "英文(大)", true },
            { Mode::WubiChars, "五笔练习", true },
        };
        for (const Case& c : cases)
            if (!RunCase(form, glyphs, settle, x, c, hits))
                status = 1;
        QMetaObject::invokeMethod(
            qApp, [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
    });
    app.exec();
    driver.join();
    return status;
}
