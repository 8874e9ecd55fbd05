// What the resident program costs: the real `norvelle` binary launched on a private X server
// with a window manager and a tray host, over a note store of 0 and of 10,000 notes of about
// 1 KB. Prints the time from exec to both tray icons being embedded (and the CPU time the
// program used until then, which a busy machine changes less), the RSS 5 s after exec and the
// CPU used over the 10 s after that (no window open).
//
//     build/bench/LaunchBench [runs] [note counts...]     # defaults: 5 runs, 0 and 10000 notes
//     NORVELLE_PROGRAM=/other/build/norvelle build/bench/LaunchBench   # to compare two builds
//
// Needs Xvfb, openbox and trayer (scripts/deps installs them).
//
// Where the idle figures come from. The launch reads notes only through the index of the ones it
// needs to repair and opens no sticky window; the store lets go of every note no window holds; the
// clip strip and every window are built when first opened. Qt's network library and the Kerberos
// and proxy libraries it links live in libnorvelle-network.so, loaded only when the program first
// goes online; the single-instance socket is a plain Unix socket and hashing uses Qt's own code,
// so neither the network stack nor libcrypto is mapped at idle. Beyond a bare Qt program showing
// two tray icons (about 24 MiB), the program holds its own code (1.8 MiB), SQLite (1.2 MiB), the
// tray icons drawn from the desktop's SVG icon theme (1 MiB: Qt's SVG library and icon engine,
// the maths library's tables, path filling and the theme's index), the X and Qt code the launch
// runs beyond a bare program's (0.6 MiB) and 0.3 MiB more heap. The clipboard is not polled: the
// program wakes when the X server says the clipboard changed, and for the next clip due to expire.
#include "objectstore/ObjectContext.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

using namespace norvelle;

namespace {

constexpr int startTimeoutMs = 10000;

// A window can go between listing it and asking about it: that is no reason to stop.
int ignoreXError(Display*, XErrorEvent*)
{
    return 0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

void seedStore(const QString& home, int noteCount)
{
    qputenv("NORVELLE_HOME", home.toLocal8Bit());
    UserDefaults::resetStandard();
    // No first-run window: the figures are those of the program idling in the tray.
    storedSettings::hasCompletedOnboarding.set(true);
    PersistenceController controller;
    const QDateTime start = QDateTime::currentDateTimeUtc().addDays(-400);
    for (int i = 0; i < noteCount; ++i) {
        auto note = StickyNote::insert(controller.viewContext());
        QString text = QStringLiteral("Shopping list %1\n").arg(i);
        while (text.size() < 1000) {
            text += QStringLiteral("item %1 of note %2, bought on aisle %3\n").arg(text.size()).arg(i).arg(i % 17);
        }
        note->setId(QUuid::createUuid());
        note->setTitle(QStringLiteral("Shopping list %1").arg(i));
        note->setPlainText(text);
        note->setContent("{\\rtf1\\ansi\\deff0 " + text.toUtf8().replace('\n', "\\par\n") + "}");
        note->setCreatedAt(start.addSecs(i * 60));
        note->setUpdatedAt(start.addSecs(i * 60 + 30));
        note->setPaperColor("#FFF4A8");
        note->setTextureName("lined");
        note->setVersion(1);
        note->setUpdatedBy("local-device");
        note->setPermissions("Private");
    }
    controller.save();
}

// Xvfb, openbox and trayer on the first free display from :70.
class PrivateDesktop {
public:
    bool start()
    {
        for (int number = 70; number < 120 && !m_display; ++number) {
            if (QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(number))) {
                continue;
            }
            m_name = QStringLiteral(":%1").arg(number);
            m_server.start("Xvfb", {m_name, "-screen", "0", "1440x900x24", "-nolisten", "tcp"});
            for (int i = 0; i < 100 && !m_display && m_server.state() != QProcess::NotRunning; ++i) {
                QThread::msleep(50);
                m_display = XOpenDisplay(m_name.toLatin1().constData());
            }
            if (!m_display) {
                m_server.kill();
                m_server.waitForFinished();
            }
        }
        if (!m_display) {
            return false;
        }
        XSetErrorHandler(ignoreXError);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DISPLAY", m_name);
        m_windowManager.setProcessEnvironment(environment);
        m_tray.setProcessEnvironment(environment);
        m_windowManager.start("openbox", {});
        QThread::msleep(400);
        m_tray.start("trayer", {"--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "120", "--height", "24"});
        const Atom selection = XInternAtom(m_display, "_NET_SYSTEM_TRAY_S0", False);
        for (int i = 0; i < 100 && XGetSelectionOwner(m_display, selection) == None; ++i) {
            QThread::msleep(50);
        }
        return XGetSelectionOwner(m_display, selection) != None;
    }

    ~PrivateDesktop()
    {
        if (m_display) {
            XCloseDisplay(m_display);
        }
        for (QProcess* process : {&m_tray, &m_windowManager, &m_server}) {
            process->terminate();
            process->waitForFinished(3000);
        }
    }

    QString name() const { return m_name; }
    qint64 trayPid() const { return m_tray.processId(); }

    // The windows of `pid` that are mapped inside the tray host's windows: its embedded icons.
    int embeddedIcons(qint64 pid) { return countIcons(DefaultRootWindow(m_display), pid, false); }

private:
    std::optional<qint64> windowPid(Window window)
    {
        const Atom property = XInternAtom(m_display, "_NET_WM_PID", False);
        Atom type;
        int format;
        unsigned long count;
        unsigned long remaining;
        unsigned char* data = nullptr;
        std::optional<qint64> pid;
        if (XGetWindowProperty(m_display, window, property, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                &remaining, &data)
                == Success
            && data && count == 1 && format == 32) {
            pid = qint64(*reinterpret_cast<unsigned long*>(data));
        }
        if (data) {
            XFree(data);
        }
        return pid;
    }

    int countIcons(Window window, qint64 pid, bool insideTray)
    {
        const std::optional<qint64> owner = windowPid(window);
        insideTray = insideTray || owner == trayPid();
        int icons = 0;
        if (insideTray && owner == pid) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(m_display, window, &attributes) && attributes.map_state == IsViewable) {
                ++icons;
            }
        }
        Window root;
        Window parent;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(m_display, window, &root, &parent, &children, &count)) {
            for (unsigned int i = 0; i < count; ++i) {
                icons += countIcons(children[i], pid, insideTray);
            }
            if (children) {
                XFree(children);
            }
        }
        return icons;
    }

    QString m_name;
    Display* m_display = nullptr;
    QProcess m_server;
    QProcess m_windowManager;
    QProcess m_tray;
};

struct RunFigures {
    double msToTrayIcons = 0;
    double cpuMsToTrayIcons = 0;
    double rssMiB = 0;
    double anonMiB = 0;
    double cpuPercent = 0;
};

// Kilobytes of a "Name:   1234 kB" line of /proc/<pid>/status.
double statusKiB(qint64 pid, const QByteArray& field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':')) {
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toDouble();
        }
    }
    return 0;
}

// Nanoseconds every thread of `pid` has run, from the scheduler's own accounting.
double cpuNanoseconds(qint64 pid)
{
    double total = 0;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile schedstat(tasks + '/' + task + "/schedstat");
        if (schedstat.open(QIODevice::ReadOnly)) {
            total += schedstat.readAll().split(' ').value(0).toDouble();
        }
    }
    return total;
}

std::optional<RunFigures> measureRun(PrivateDesktop& desktop, const QString& program, const QString& home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", desktop.name());
    environment.insert("NORVELLE_HOME", home);
    environment.insert("QT_QPA_PLATFORM", "xcb");
    QProcess norvelle;
    norvelle.setProcessEnvironment(environment);
    norvelle.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    norvelle.setStandardOutputFile(QProcess::nullDevice());

    RunFigures figures;
    QElapsedTimer sinceExec;
    sinceExec.start();
    norvelle.start(program, {});
    if (!norvelle.waitForStarted()) {
        std::fprintf(stderr, "LaunchBench: %s does not start\n", qPrintable(program));
        return std::nullopt;
    }
    const qint64 pid = norvelle.processId();
    while (desktop.embeddedIcons(pid) < 2) {
        if (sinceExec.elapsed() > startTimeoutMs || norvelle.state() == QProcess::NotRunning) {
            std::fprintf(stderr, "LaunchBench: the two tray icons did not appear\n");
            return std::nullopt;
        }
        QThread::usleep(2000);
    }
    figures.msToTrayIcons = double(sinceExec.nsecsElapsed()) / 1e6;
    figures.cpuMsToTrayIcons = cpuNanoseconds(pid) / 1e6;
    QThread::msleep(std::max<qint64>(0, 5000 - sinceExec.elapsed()));
    figures.rssMiB = statusKiB(pid, "VmRSS") / 1024;
    figures.anonMiB = statusKiB(pid, "RssAnon") / 1024;
    const double cpuBefore = cpuNanoseconds(pid);
    QElapsedTimer idle;
    idle.start();
    QThread::msleep(10000);
    figures.cpuPercent = 100.0 * (cpuNanoseconds(pid) - cpuBefore) / double(idle.nsecsElapsed());
    norvelle.terminate();
    if (!norvelle.waitForFinished(5000)) {
        norvelle.kill();
        norvelle.waitForFinished();
    }
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QStringList arguments = application.arguments().mid(1);
    const int runs = arguments.isEmpty() ? 5 : std::max(1, arguments.takeFirst().toInt());
    std::vector<int> noteCounts;
    for (const QString& argument : arguments) {
        noteCounts.push_back(argument.toInt());
    }
    if (noteCounts.empty()) {
        noteCounts = {0, 10000};
    }
    const QString program = qEnvironmentVariable("NORVELLE_PROGRAM", QStringLiteral(NORVELLE_PROGRAM));

    PrivateDesktop desktop;
    if (!desktop.start()) {
        std::fprintf(stderr, "LaunchBench: no private desktop (needs Xvfb, openbox and trayer)\n");
        return 1;
    }
    std::printf("LaunchBench: %s on %s (Xvfb, openbox, trayer), no window open; median of %d runs\n",
        qPrintable(QFileInfo(program).fileName()), qPrintable(desktop.name()), runs);
    for (int noteCount : noteCounts) {
        QTemporaryDir home;
        seedStore(home.path(), noteCount);
        std::vector<double> trayTimes, trayCpu, rss, anon, cpu;
        for (int run = 0; run < runs; ++run) {
            const std::optional<RunFigures> figures = measureRun(desktop, program, home.path());
            if (!figures) {
                return 1;
            }
            trayTimes.push_back(figures->msToTrayIcons);
            trayCpu.push_back(figures->cpuMsToTrayIcons);
            rss.push_back(figures->rssMiB);
            anon.push_back(figures->anonMiB);
            cpu.push_back(figures->cpuPercent);
        }
        std::printf("  %5d notes: tray icons %4.0f ms after exec (%4.0f ms of CPU), RSS at 5 s %5.1f MiB "
                    "(%5.1f MiB anonymous), idle CPU %.3f %% of a core\n",
            noteCount, median(trayTimes), median(trayCpu), median(rss), median(anon), median(cpu));
        std::fflush(stdout);
    }
    return 0;
}
