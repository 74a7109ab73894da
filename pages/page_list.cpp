#include "pages/page_list.h"

#include "pages/radio/encrypt.h"
#include "pages/radio/group.h"
#include "pages/radio/lan.h"
#include "pages/radio/mode.h"
#include "pages/radio/performance.h"
#include "pages/radio/wireless.h"
#include "pages/service/admin.h"
#include "pages/service/admin2.h"
#include "pages/service/dhcp.h"
#include "pages/service/log_settings.h"
#include "pages/service/mac_acl.h"
#include "pages/service/misc.h"
#include "pages/service/multi_ssid.h"
#include "pages/service/multi_ssid_new.h"
#include "pages/service/sntp.h"
#include "pages/service/system.h"
#include "pages/service/wlan_partition.h"
#include "pages/status/client_info.h"
#include "pages/status/device_info.h"
#include "pages/status/ethernet.h"
#include "pages/status/log_view.h"
#include "pages/status/rogue_ap.h"
#include "pages/status/statistics.h"
#include "pages/transfer/config_file.h"
#include "pages/transfer/firmware.h"
#include "pages/transfer/firmware_ssl.h"
#include "panels/config_form.h"
#include "panels/information_form.h"

#include <memory>

namespace pages {
namespace {
template <class Page> app::PageFactory make() {
    return [](QWidget* owner) -> std::unique_ptr<QDialog> { return std::make_unique<Page>(owner); };
}
} // namespace

QHash<QString, app::PageFactory> all() {
    QHash<QString, app::PageFactory> list;
    // One line per page: list.insert("TFM_Xxx", make<TFM_Xxx>());
    list.insert("Information", [](QWidget* owner) -> std::unique_ptr<QDialog> {
        return panels::InformationForm(owner);
    });
    list.insert("TFM_DevInfo", make<TFM_DevInfo>());
    list.insert("TFM_LanCfg", make<TFM_LanCfg>());
    list.insert("TFM_DHCP", make<TFM_DHCP>());
    list.insert("TFM_Firmware", make<TFM_Firmware>());
    list.insert("TFM_CfgFile", make<TFM_CfgFile>());
    list.insert("TFM_FirewareSSL", make<TFM_FirewareSSL>());
    list.insert("TFM_Wirless", make<TFM_Wirless>());
    list.insert("TFM_Ethernet", make<TFM_Ethernet>());
    list.insert("TFM_Group", make<TFM_Group>());
    list.insert("TFM_ModeCFG", make<TFM_ModeCFG>());
    list.insert("TFM_Encrypt", make<TFM_Encrypt>());
    list.insert("TFM_Performace", make<TFM_Performace>());
    list.insert("TFM_MultiSSIDNewForm", make<TFM_MultiSSIDNewForm>());
    list.insert("TFM_MultiSSIDForm", make<TFM_MultiSSIDForm>());
    list.insert("TLogForm", make<TLogForm>());
    list.insert("TClientInformation", make<TClientInformation>());
    list.insert("TFM_RogueForm", make<TFM_RogueForm>());
    list.insert("TFM_Static", make<TFM_Static>());
    list.insert("TFM_Sytem", make<TFM_Sytem>());
    list.insert("TFM_Misc", make<TFM_Misc>());
    list.insert("TFM_Admin", make<TFM_Admin>());
    list.insert("TFM_Admin2", make<TFM_Admin2>());
    list.insert("TFM_WPart", make<TFM_WPart>());
    list.insert("TFM_WMACACL", make<TFM_WMACACL>());
    list.insert("TFM_LogSet", make<TFM_LogSet>());
    list.insert("TSNTPForm", make<TSNTPForm>());
    return list;
}

} // namespace pages
