// The export's text form read back as written, texts that are not exports, the comparison's
// volatile lines, and the pass phrases blanked from a program's arguments.
#include "app/startup.h"
#include "settings/compare.h"
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace settings;

Export sample() {
    Export e{"10.0.0.5", "KW-9100 v2", "v2.50", "2026-12-11T14:00:00Z", {}};
    e.sections.push_back({"Home \\ Information",
                          "Information",
                          {{"System Name", "ap = hall\\1\nsecond line\r", {}},
                           {"System Uptime", "1:00:00.00", {}},
                           {"System Location", {}, "(SNMP) Variable does not exist!"}}});
    e.sections.push_back({"Home \\ LAN",
                          "TFM_LanCfg",
                          {{"hIPAddress", "10.0.0.5", {}},
                           {" BSSID[1]", "", {}},
                           {"MAC[3]", "00:11:22:33:44:55", {}}}});
    return e;
}

TEST(SettingsFile, ReadsBackWhatItWrites) {
    const Export e = sample();
    const QString text = toText(e);
    EXPECT_TRUE(text.startsWith("# kw9100-settings export\n# address: 10.0.0.5\n"));
    EXPECT_TRUE(text.contains("\n[Home \\ LAN]\n# page: TFM_LanCfg\nhIPAddress = 10.0.0.5\n"));
    EXPECT_TRUE(text.contains("System Name = ap = hall\\\\1\\nsecond line\\r\n"));
    EXPECT_TRUE(
        text.contains("# not answered: System Location ((SNMP) Variable does not exist!)\n"));
    const Export back = fromText(text);
    EXPECT_EQ(back.address, e.address);
    EXPECT_EQ(back.model, e.model);
    EXPECT_EQ(back.firmware, e.firmware);
    EXPECT_EQ(back.time, e.time);
    ASSERT_EQ(back.sections.size(), e.sections.size());
    for (size_t s = 0; s < e.sections.size(); ++s) {
        EXPECT_EQ(back.sections[s].path, e.sections[s].path);
        EXPECT_EQ(back.sections[s].page, e.sections[s].page);
        ASSERT_EQ(back.sections[s].lines.size(), e.sections[s].lines.size());
        for (size_t l = 0; l < e.sections[s].lines.size(); ++l) {
            EXPECT_EQ(back.sections[s].lines[l].name, e.sections[s].lines[l].name);
            EXPECT_EQ(back.sections[s].lines[l].value, e.sections[s].lines[l].value);
            EXPECT_EQ(back.sections[s].lines[l].failure, e.sections[s].lines[l].failure);
        }
    }
    // Lines ended by CR LF (an export edited elsewhere) read the same.
    QString crlf = text;
    crlf.replace("\n", "\r\n");
    EXPECT_EQ(fromText(crlf).sections[1].lines[2].value, "00:11:22:33:44:55");
}

TEST(SettingsFile, RefusesWhatIsNotAnExport) {
    const struct {
        const char* text;
        const char* says;
    } cases[] = {
        {"", "line 1: not a kw9100-settings export"},
        {"[Home \\ LAN]\nx = 1\n", "line 1: not a kw9100-settings export"},
        {"# kw9100-settings export\nx = 1\n", "line 2: a setting before the first page"},
        {"# kw9100-settings export\n[Home \\ LAN]\njunk\n", "line 3: neither a setting"},
        {"# kw9100-settings export\n[A]\n# not answered: x\n", "line 3: a comment on an"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            fromText(QString::fromUtf8(c.text));
            ADD_FAILURE() << "accepted";
        } catch (const FormatError& e) {
            EXPECT_TRUE(e.text().startsWith(c.says)) << e.text().toStdString();
        }
    }
}

TEST(SettingsCompare, DifferencesByPageWithoutVolatileLinesUnlessAsked) {
    const Export a = sample();
    Export b = sample();
    b.time = "2027-01-01T00:00:00Z";                          // the header is not compared
    b.sections[0].lines[1].value = "2:00:00.00";              // uptime: volatile
    b.sections[1].lines[0].value = "10.0.0.6";                // the device's own address: volatile
    b.sections[1].lines[2].value = "00:11:22:33:44:66";       // a static lease's MAC: a setting
    b.sections[0].lines[2] = {"System Location", "hall", {}}; // answered now
    b.sections[0].lines.push_back({"System Contact", "ops", {}}); // only the second has it
    const auto differences = compare(a, b, false);
    EXPECT_EQ(differencesText(differences),
              "[Home \\ Information]\n"
              "-System Location = (not answered: (SNMP) Variable does not exist!)\n"
              "+System Location = hall\n"
              "+System Contact = ops\n"
              "[Home \\ LAN]\n"
              "-MAC[3] = 00:11:22:33:44:55\n"
              "+MAC[3] = 00:11:22:33:44:66\n");
    const auto all = compare(a, b, true);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].differences.size(), 3u);
    EXPECT_EQ(all[1].differences.size(), 2u);
    EXPECT_TRUE(compare(a, sample(), false).empty());
}

TEST(SettingsCompare, VolatileLinesAreThoseThatChangeOnTheirOwn) {
    const struct {
        const char* page;
        const char* name;
        bool isVolatile;
    } cases[] = {
        {"Information", "System Uptime", true},           // timeticks
        {"TFM_Ethernet", "dot3ReceivedFrameCount", true}, // a counter, though an integer
        {"TFM_LanCfg", "dot3ReceivedFrameCount", false},  // not a variable of that page
        {"TFM_DevInfo", "MAC Address", true},             // its own MAC
        {"TFM_LanCfg", "hIPAddress", true},               // its own address
        {"TFM_LanCfg", "hSubnetMask", false},
        {"TFM_WMACACL", "adEthernetFilterMACAddr[3]", false},  // MAC addresses it is given
        {"TFM_DHCP", "MAC[2]", false},                         // a static slot's
        {"TFM_DHCP", "Current Dynamic MAC[1]", true},          // a lease
        {"TClientInformation", "Client MAC Address[2]", true}, // what it sees
        {"TSNTPForm", "timeOfDay", true},
        {"TSNTPForm", "sntpServerIP", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isVolatile(c.page, c.name), c.isVolatile) << c.page << " " << c.name;
}

TEST(PassPhrases, BlankedFromTheArgumentsAsTheModuleClassifiesThem) {
    const struct {
        const char* argument;
        const char* after; // what is left readable
    } cases[] = {
        {"/Asecret", "/A"},
        {"/Psecret", "/P"},
        {"x/Pse/Acret", "x/Pse/A"},         // "/A" comes before "/P" in the module's order
        {"/Rpublic/Pnot", "/Rpublic/Pnot"}, // a read community that holds "/P"
        {"/I10.0.0.5/Ax", "/I10.0.0.5/Ax"}, // an address
        {"/aAuth", "/aAuth"},               // a protocol, not a phrase
        {"/tmp/Areport", "/tmp/Areport"},   // the port switch "/t" comes before "/A"
        {"plain", "plain"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument);
        std::string program = "kw9100-settings";
        std::string argument = c.argument;
        char* argv[] = {program.data(), argument.data(), nullptr};
        const QStringList taken = app::takeArguments(2, argv);
        EXPECT_EQ(taken, QStringList{QString::fromLatin1(c.argument)});
        EXPECT_STREQ(argv[0], "kw9100-settings");
        EXPECT_STREQ(argv[1], c.after);
        // Nothing of the phrase is left behind the end of the text either.
        EXPECT_EQ(std::string(argument.c_str(), argument.size()).find("secret"), std::string::npos);
    }
}

} // namespace
