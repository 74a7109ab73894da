# KW-9100, early firmware (v1.xx): no save-and-activate objects (a change takes effect when the
# device restarts), a single SSID, no client-information flag (its firmware version offers the
# client information), no load figures. Capabilities it does not know it does not answer.
include base.inc
include advanced.inc
include performance.inc
include admin.inc
include filter.inc
include log_settings.inc

1.3.6.1.2.1.1.1.0  string     ro  "KW-9100 IEEE 802.11g Wireless Access Point, firmware v1.12"
devMib.4.1.1.1.0   string     ro  "v1.12"

devMib.99.1.1.9.0   integer  ro  0   # mssidsupported
devMib.99.1.1.10.0  integer  ro  0   # rogueapsupported
devMib.99.1.1.11.0  integer  ro  0   # syslogsupported

# Status: wireless traffic counters.
include statistics.inc

# Status: client and WDS information.
include clients.inc
