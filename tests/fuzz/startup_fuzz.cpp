// The start-up without windows: the host's registry values, the per-device INI file and the
// command line. Input: registry file, device file and arguments (one a line), separated by the
// record separator.
#include "app/startup.h"
#include "tests/fuzz/fuzz_support.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::start();
    const QList<QByteArray> parts = fuzz::split(data, size, 3);

    const auto registry = platform::makeIniRegistry(fuzz::writeScratch("registry.ini", parts[0]));
    (void)app::helpDirectory(*registry);
    (void)app::deviceFileDirectory(*registry);

    // The device file of the address the arguments are likely to name, and of none yet.
    fuzz::writeScratch("10.0.0.5.cfg", parts[1]);
    fuzz::writeScratch(".cfg", parts[1]);
    const QStringList arguments =
        parts[2].isEmpty() ? QStringList() : QString::fromUtf8(parts[2]).split(u'\n');

    QvSNMPDevice device{"127.0.0.1", 161};
    QvSNMPScope scope;
    QvSNMPSecurity security{0, "fenrow", "quillet", 1, 1, {}, {}, {}, 1, 1, {}, {}};
    try {
        app::applyArguments(arguments, fuzz::scratch().path() + "/", {device, scope, security});
    } catch (const app::StartupError& e) {
        // The message box quotes values cut to a readable length, however long they are.
        KW_FUZZ_CHECK(e.text().size() <= 300);
    }
    return 0;
}
