// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up seen from the X server, outside the programs: launches each program in turn and
// times process start → its window mapped (MapNotify) and → the first drawing into that
// window (DAMAGE), and reads the process's peak resident memory at that first drawing. The
// programs carry no code for it. Run under an X server with a window manager (bench/xrun).
//
//   quillado_xstart_bench [-n launches] NAME=PATH [NAME=PATH ...]
//                         [-e NAME VAR=VALUE]...   (environment of one program's launches)
// Launches take turns (A B C A B C ...) so that every program meets the same machine; one
// launch of each first warms the caches and is not counted. The last program named is the
// floor the others are compared with.

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <poll.h>
#include <set>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Program {
    std::string name, path;
    std::vector<std::string> environment;
    std::vector<double> mapped, painted, peakMiB, anonMiB, fileMiB, processor;
};

struct Launch {
    double mappedMs = -1, paintedMs = -1, peakMiB = -1;
    // Resident memory at the first drawing: the process's own, and pages of mapped files
    // (libraries, fonts), which the page cache shares with every other process.
    double anonMiB = -1, fileMiB = -1;
    double processorMs = -1;
};

// A field of /proc/<pid>/status, in KiB.
long StatusKiB(pid_t pid, const std::string& field)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0)
            return std::stol(line.substr(field.size() + 1));
    return -1;
}

// Processor time of all the process's threads so far, in ms: unlike the clock, it hardly
// depends on what else the machine runs.
double ProcessorMs(pid_t pid)
{
    const std::string dir = "/proc/" + std::to_string(pid) + "/task/";
    double ns = 0;
    if (DIR* tasks = opendir(dir.c_str())) {
        while (dirent* task = readdir(tasks)) {
            if (task->d_name[0] == '.')
                continue;
            std::ifstream stat(dir + task->d_name + "/schedstat");
            double onCpu = 0;
            if (stat >> onCpu)
                ns += onCpu;
        }
        closedir(tasks);
    }
    return ns / 1e6;
}

class Monitor {
public:
    bool Open()
    {
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection)) {
            std::fprintf(stderr, "cannot connect to the X server\n");
            return false;
        }
        const xcb_setup_t* setup = xcb_get_setup(m_connection);
        m_root = xcb_setup_roots_iterator(setup).data->root;
        m_idMask = setup->resource_id_mask;
        const xcb_query_extension_reply_t* damage = xcb_get_extension_data(m_connection, &xcb_damage_id);
        if (!damage || !damage->present) {
            std::fprintf(stderr, "the X server has no DAMAGE extension\n");
            return false;
        }
        m_damageEvent = damage->first_event;
        xcb_damage_query_version_reply_t* version
            = xcb_damage_query_version_reply(m_connection, xcb_damage_query_version(m_connection, 1, 1), nullptr);
        free(version);
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        // Windows already there belong to the window manager (and this monitor): their
        // connections' later windows, the frames, are never the program's.
        if (xcb_query_tree_reply_t* tree
            = xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr)) {
            const xcb_window_t* children = xcb_query_tree_children(tree);
            for (int i = 0; i < xcb_query_tree_children_length(tree); ++i)
                m_foreign.insert(children[i] & ~m_idMask);
            free(tree);
        }
        m_foreign.insert(m_root & ~m_idMask);
        return true;
    }

    ~Monitor()
    {
        if (m_connection)
            xcb_disconnect(m_connection);
    }

    Launch Run(const Program& program, const std::string& configHome)
    {
        // The X server and the window manager first finish with the last launch's windows.
        usleep(100 * 1000);
        Drain();
        std::vector<std::string> environment;
        for (char** e = environ; *e; ++e)
            environment.emplace_back(*e);
        environment.push_back("XDG_CONFIG_HOME=" + configHome);
        environment.insert(environment.end(), program.environment.begin(), program.environment.end());
        std::vector<char*> envp;
        for (std::string& e : environment)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        char* argv[] = { const_cast<char*>(program.path.c_str()), nullptr };

        m_ours.clear();
        m_frameOf.clear();
        m_mappedWindow = 0;
        Launch launch;
        const auto start = Clock::now();
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, program.path.c_str(), &actions, nullptr, argv, envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            std::fprintf(stderr, "cannot start %s: %s\n", program.path.c_str(), std::strerror(spawned));
            return launch;
        }
        const auto deadline = start + std::chrono::seconds(20);
        while (launch.paintedMs < 0 && Clock::now() < deadline) {
            pollfd fd { xcb_get_file_descriptor(m_connection), POLLIN, 0 };
            poll(&fd, 1, 50);
            while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
                const auto now = Clock::now();
                Handle(event, now - start, launch, pid);
                free(event);
            }
            if (xcb_connection_has_error(m_connection))
                break;
        }
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        for (auto& [window, damage] : m_ours)
            if (damage)
                xcb_damage_destroy(m_connection, damage);
        xcb_flush(m_connection);
        if (launch.paintedMs < 0)
            std::fprintf(stderr, "%s: no first drawing seen\n", program.name.c_str());
        return launch;
    }

private:
    void Handle(xcb_generic_event_t* event, Clock::duration since, Launch& launch, pid_t pid)
    {
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
            if (!m_foreign.count(created->window & ~m_idMask) && !m_ours.count(created->window))
                Watch(created->window);
        } else if (type == XCB_REPARENT_NOTIFY) {
            // The window manager puts the window into a frame of its own; the frame's map
            // makes it visible, and may come before this monitor could watch the window.
            const auto* reparented = reinterpret_cast<xcb_reparent_notify_event_t*>(event);
            if (m_ours.count(reparented->window))
                m_frameOf[reparented->parent] = reparented->window;
        } else if (type == XCB_MAP_NOTIFY) {
            const auto* mapped = reinterpret_cast<xcb_map_notify_event_t*>(event);
            const auto framed = m_frameOf.find(mapped->window);
            if (!m_mappedWindow && (m_ours.count(mapped->window) || framed != m_frameOf.end())) {
                m_mappedWindow = framed != m_frameOf.end() ? framed->second : mapped->window;
                launch.mappedMs = Ms(since);
            }
        } else if (type == m_damageEvent + XCB_DAMAGE_NOTIFY) {
            const auto* damaged = reinterpret_cast<xcb_damage_notify_event_t*>(event);
            if (m_mappedWindow && damaged->drawable == m_mappedWindow && launch.paintedMs < 0) {
                launch.paintedMs = Ms(since);
                launch.processorMs = ProcessorMs(pid);
                launch.peakMiB = double(StatusKiB(pid, "VmHWM")) / 1024.0;
                launch.anonMiB = double(StatusKiB(pid, "RssAnon")) / 1024.0;
                launch.fileMiB = double(StatusKiB(pid, "RssFile") + StatusKiB(pid, "RssShmem")) / 1024.0;
            }
        }
    }

    void Watch(xcb_window_t window)
    {
        const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, window, XCB_CW_EVENT_MASK, &mask);
        const xcb_damage_damage_t damage = xcb_generate_id(m_connection);
        xcb_damage_create(m_connection, damage, window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
        m_ours[window] = damage;
        xcb_flush(m_connection);
    }

    void Drain()
    {
        xcb_aux_sync();
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection))
            free(event);
    }

    void xcb_aux_sync() { free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr)); }

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    uint32_t m_idMask = 0;
    uint8_t m_damageEvent = 0;
    std::set<uint32_t> m_foreign;
    std::map<xcb_window_t, xcb_damage_damage_t> m_ours;
    std::map<xcb_window_t, xcb_window_t> m_frameOf; // frame → the program's window in it
    xcb_window_t m_mappedWindow = 0;
};

double Percentile(std::vector<double> v, int percent)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, v.size() * std::size_t(percent) / 100)];
}

} // namespace

int main(int argc, char* argv[])
{
    int launches = 15;
    std::vector<Program> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-n" && i + 1 < argc) {
            launches = std::atoi(argv[++i]);
        } else if (arg == "-e" && i + 2 < argc) {
            const std::string name = argv[++i];
            const std::string setting = argv[++i];
            for (Program& p : programs)
                if (p.name == name)
                    p.environment.push_back(setting);
        } else if (const auto eq = arg.find('='); eq != std::string::npos) {
            programs.push_back({ arg.substr(0, eq), arg.substr(eq + 1), {}, {}, {}, {}, {}, {}, {} });
        } else {
            std::fprintf(stderr, "usage: %s [-n launches] NAME=PATH... [-e NAME VAR=VALUE]...\n", argv[0]);
            return 2;
        }
    }
    if (programs.empty() || launches < 1) {
        std::fprintf(stderr, "usage: %s [-n launches] NAME=PATH... [-e NAME VAR=VALUE]...\n", argv[0]);
        return 2;
    }
    Monitor monitor;
    if (!monitor.Open())
        return 1;
    // The learner's own settings stay untouched; the first launch writes what a later one reads.
    char configHome[] = "/tmp/quillado-xstart-XXXXXX";
    if (!mkdtemp(configHome))
        return 1;

    for (const Program& p : programs)
        monitor.Run(p, configHome);
    for (int round = 0; round < launches; ++round)
        for (Program& p : programs) {
            Launch l = monitor.Run(p, configHome);
            // A launch the monitor lost track of is tried again, a few times at most.
            for (int again = 0; again < 3 && (l.paintedMs < 0 || l.mappedMs < 0); ++again)
                l = monitor.Run(p, configHome);
            if (l.paintedMs < 0 || l.mappedMs < 0)
                return 1;
            p.mapped.push_back(l.mappedMs);
            p.painted.push_back(l.paintedMs);
            p.peakMiB.push_back(l.peakMiB);
            p.anonMiB.push_back(l.anonMiB);
            p.fileMiB.push_back(l.fileMiB);
            p.processor.push_back(l.processorMs);
        }
    std::system((std::string("rm -rf ") + configHome).c_str());

    const Program& floor = programs.back();
    const double floorMapped = Percentile(floor.mapped, 50), floorPainted = Percentile(floor.painted, 50);
    const double floorPeak = Percentile(floor.peakMiB, 50);
    for (const Program& p : programs) {
        const double mapped = Percentile(p.mapped, 50), painted = Percentile(p.painted, 50);
        const double peak = Percentile(p.peakMiB, 50);
        const bool isFloor = &p == &floor;
        std::printf("| %s: launch to window mapped | %.1f ms | %.1f ms | %.1f ms | %d | %s |\n", p.name.c_str(), mapped,
            Percentile(p.mapped, 95), Percentile(p.mapped, 100), launches,
            isFloor ? "floor" : (std::to_string(mapped / floorMapped).substr(0, 4) + " × floor").c_str());
        std::printf("| %s: launch to first drawing | %.1f ms | %.1f ms | %.1f ms | %d | %s |\n", p.name.c_str(),
            painted, Percentile(p.painted, 95), Percentile(p.painted, 100), launches,
            isFloor ? "floor" : (std::to_string(painted / floorPainted).substr(0, 4) + " × floor").c_str());
        const double processor = Percentile(p.processor, 50), floorProcessor = Percentile(floor.processor, 50);
        std::printf("| %s: processor time to first drawing | %.1f ms | %.1f ms | %.1f ms | %d | %s |\n", p.name.c_str(),
            processor, Percentile(p.processor, 95), Percentile(p.processor, 100), launches,
            isFloor ? "floor" : (std::to_string(processor / floorProcessor).substr(0, 4) + " × floor").c_str());
        char extra[64];
        std::snprintf(extra, sizeof extra, "%+.1f MiB", peak - floorPeak);
        std::printf("| %s: peak resident memory at first drawing | %.1f MiB | %.1f MiB | %.1f MiB | %d | %s |\n",
            p.name.c_str(), peak, Percentile(p.peakMiB, 95), Percentile(p.peakMiB, 100), launches,
            isFloor ? "floor" : extra);
        std::printf("| %s: of it, the process's own / pages of mapped files | %.1f / %.1f MiB | | | %d | |\n",
            p.name.c_str(), Percentile(p.anonMiB, 50), Percentile(p.fileMiB, 50), launches);
    }
    return 0;
}
