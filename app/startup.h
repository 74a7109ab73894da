#pragma once
// Start-up of the module: the host's registry values, the message files, the per-device INI file
// and the command line, turned into the session parameters. Free of windows, so that each step
// can be run on its own records.
#include "platform/registry.h"
#include "snmplib/session.h"

#include <exception>
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace app {

// The three session records a start-up fills.
struct SessionRecords {
    QvSNMPDevice& device;
    QvSNMPScope& scope;
    QvSNMPSecurity& security;
};

// A numeric switch or device-file value that is not a decimal integer, or does not fit the
// parameter it sets. The text names the switch or key and the value; the module ends with it.
class StartupError : public std::exception {
public:
    explicit StartupError(QString text);
    const QString& text() const noexcept { return text_; }
    const char* what() const noexcept override { return what_.constData(); }

private:
    QString text_;
    QByteArray what_;
};

inline constexpr char kHelpPathKey[] = "\\SOFTWARE\\Velkor\\Modules\\HelpPath";
inline constexpr char kExePathKey[] = "\\SOFTWARE\\Velkor\\Halvren5.1\\ExePath";
inline constexpr char kMibFileKey[] = "\\SOFTWARE\\Velkor\\Halvren5.1\\MibFile";
inline constexpr char kDeviceFileSection[] = "Program Information";

// The help file's full path from HelpPath (the key is created when missing) less its file name,
// which is exactly 12 characters long; empty when there is no such value or it is shorter.
QString helpDirectory(platform::Registry& registry);

// The directory of the per-device INI files: ExePath's Path + "..\Conf\MBF\", replaced by
// MibFile's Path when that key exists; empty when neither key exists.
QString deviceFileDirectory(platform::Registry& registry);

enum class MessageFileLoad {
    BesideExecutable,  // while the main window is built: dir + "errMSg\"
    FromHelpDirectory, // in its creation handler: dir + "errmsg\", taking precedence
};

// Loads the seven message files from `dir` (used as it stands: it ends with a separator or is
// empty). A file that cannot be read leaves its table as it was.
void loadMessageFiles(const QString& dir, MessageFileLoad load);

// Device-file directory + address text + ".cfg".
QString deviceFilePath(const QString& deviceFileDir, const QString& addressText);

// Applies every key of the device file at `path` (which exists) to the records, in the order
// AgentPort, Version, ContextName, ContextEngineID, SecurityModel, SecurityLevel, SecurityName,
// AuthProtocol, PrivProtocol, AuthPassword, PrivPassword. Raises StartupError.
void applyDeviceFile(const QString& path, SessionRecords session);

// Applies the command-line arguments, first to last; before each argument that is not "/I" the
// device file of the address text known at that moment is applied anew when it exists. Returns
// the address text (`addressText` unless an "/I" argument replaces it). Raises StartupError
// before any further argument is applied.
QString applyArguments(const QStringList& arguments, const QString& deviceFileDir,
                       SessionRecords session, QString addressText = {});

// Overwrites in place, with zero bytes, the pass phrases among the process's own arguments (the
// values of arguments that applyArguments takes as "/A" or "/P"), so that the system's process
// list no longer shows them. argv[0] is the program and is left alone. Call it once the
// arguments have been copied.
void blankPassPhrases(int argc, char** argv);

} // namespace app
