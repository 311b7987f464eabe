// SPDX-License-Identifier: GPL-3.0-or-later
#include "InstalledProgram.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <sstream>
#include <sys/wait.h>
#include <thread>

namespace {

constexpr float kLogicalWidth = 800.0f;
constexpr float kLogicalHeight = 600.0f;

std::string desktopCommand(const std::filesystem::path& prefix)
{
    std::ifstream in(prefix / "share/applications/org.vellomar.Vellomar.desktop");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("Exec=", 0) == 0)
            return line.substr(5);
    return {};
}

int shellValue(const std::string& text, const std::string& name)
{
    const auto at = text.find(name + "=");
    return at == std::string::npos ? 0 : std::atoi(text.c_str() + at + name.size() + 1);
}

// X commands whose effect the tests check on the screen or in the files,
// where a failure shows; a failed one is named.
void run(const std::string& command)
{
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "failed: %s\n", command.c_str());
}

} // namespace

InstalledProgram::InstalledProgram(const InstallScratch& scratch) : m_scratch(scratch) {}

InstalledProgram::~InstalledProgram()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
}

bool InstalledProgram::start(const std::map<std::string, std::string>& environment)
{
    std::istringstream words(desktopCommand(m_scratch.prefix()));
    std::vector<std::string> argv{std::istream_iterator<std::string>(words), {}};
    if (argv.empty())
        return false;
    const std::string path = (m_scratch.prefix() / "games").string() + ":" + std::getenv("PATH");
    const std::string log = m_scratch.file("program.out").string();
    m_pid = ::fork();
    if (m_pid != 0)
        return m_pid > 0;
    std::filesystem::current_path(m_scratch.elsewhere());
    ::setenv("PATH", path.c_str(), 1);
    ::setenv("HOME", m_scratch.home().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", m_scratch.config().c_str(), 1);
    ::setenv("XDG_DATA_HOME", m_scratch.data().c_str(), 1);
    ::setenv("XDG_STATE_HOME", m_scratch.state().c_str(), 1);
    // The sounds are really loaded and played, into nowhere.
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    for (const auto& [name, value] : environment)
        value.empty() ? ::unsetenv(name.c_str()) : ::setenv(name.c_str(), value.c_str(), 1);
    if (!std::freopen(log.c_str(), "w", stdout) || !std::freopen(log.c_str(), "a", stderr))
        std::_Exit(127);
    std::vector<char*> arguments;
    for (std::string& word : argv)
        arguments.push_back(word.data());
    arguments.push_back(nullptr);
    ::execvp(arguments[0], arguments.data());
    std::_Exit(127);
}

bool InstalledProgram::waitForWindow()
{
    m_window = InstallScratch::output("timeout 120 xdotool search --sync --onlyvisible --pid " +
                                      std::to_string(m_pid) + " --name '^Vellomar$' | head -n 1");
    m_window.erase(std::remove(m_window.begin(), m_window.end(), '\n'), m_window.end());
    if (m_window.empty())
        return false;
    const auto log = m_scratch.state() / "vellomar" / "game.log";
    if (!waitUntil([&] { return InstallScratch::read(log).find("Renderer:") != std::string::npos; },
                   std::chrono::seconds(120)))
        return false;
    const std::string geometry =
        InstallScratch::output("xdotool getwindowgeometry --shell " + m_window);
    m_left = shellValue(geometry, "X");
    m_top = shellValue(geometry, "Y");
    m_width = shellValue(geometry, "WIDTH");
    m_height = shellValue(geometry, "HEIGHT");
    // Without a window manager nothing gives the new window the focus, and an
    // inactive game stands still.
    run("xdotool windowfocus " + m_window);
    return m_width > 0 && m_height > 0;
}

// The logical screen keeps its shape: scaled to fit and centred.
std::pair<int, int> InstalledProgram::toScreen(float x, float y) const
{
    const float scale = std::min(m_width / kLogicalWidth, m_height / kLogicalHeight);
    const float left = m_left + (m_width - kLogicalWidth * scale) / 2;
    const float top = m_top + (m_height - kLogicalHeight * scale) / 2;
    return {int(left + x * scale), int(top + y * scale)};
}

void InstalledProgram::click(float x, float y) const
{
    const auto [px, py] = toScreen(x, y);
    run("xdotool mousemove " + std::to_string(px) + " " + std::to_string(py) + " click 1");
}

std::vector<unsigned char> InstalledProgram::pixels(float x, float y, float size) const
{
    const auto [left, top] = toScreen(x, y);
    const auto [right, bottom] = toScreen(x + size, y + size);
    const std::string crop = std::to_string(right - left) + "x" + std::to_string(bottom - top) +
                             "+" + std::to_string(left) + "+" + std::to_string(top);
    const std::string bytes = InstallScratch::output("import -silent -window root -crop " + crop +
                                                     " +repage -depth 8 rgb:-");
    return {bytes.begin(), bytes.end()};
}

double InstalledProgram::difference(const std::vector<unsigned char>& a,
                                    const std::vector<unsigned char>& b)
{
    if (a.empty() || a.size() != b.size())
        return 255.0;
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        sum += std::abs(int(a[i]) - int(b[i]));
    return sum / double(a.size());
}

// The pointer's picture hangs down and right from the point clicked; two
// spots are used in turn, so each click moves it.
bool InstalledProgram::waitForPointer(float x, float y)
{
    int turn = 0;
    return waitUntil(
        [&] {
            const float at = x + 40.0f * float(turn++ % 2);
            const auto before = pixels(at + 3, y + 3, 6);
            click(at, y);
            return waitUntil([&] { return difference(pixels(at + 3, y + 3, 6), before) > 30; },
                             std::chrono::seconds(1));
        },
        std::chrono::seconds(120));
}

void InstalledProgram::screenshot(const std::string& path) const
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    run("import -silent -window root '" + path + "'");
}

bool InstalledProgram::signal(int number) const
{
    return m_pid > 0 && ::kill(m_pid, number) == 0;
}

bool InstalledProgram::waitForExit(int& code)
{
    int status = 0;
    const bool ended = waitUntil([&] { return ::waitpid(m_pid, &status, WNOHANG) == m_pid; },
                                 std::chrono::seconds(120));
    if (!ended)
        return false;
    m_pid = -1;
    code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return true;
}

bool InstalledProgram::waitUntil(const std::function<bool()>& condition, std::chrono::seconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}
