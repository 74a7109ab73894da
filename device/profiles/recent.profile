# KW-9100, recent firmware (v2.xx): changes stay pending until save-and-activate or discard;
# multiple SSIDs, SSL certificates, grouping, syslog, client information, CPU/memory load.
include base.inc
include advanced.inc
include performance.inc
include ethernet.inc
include multissid.inc
include admin-limits.inc
include filter.inc
include smtp.inc
include sntp.inc

1.3.6.1.2.1.1.1.0  string     ro  "KW-9100 IEEE 802.11g Wireless Access Point, firmware v2.50"
devMib.4.1.1.1.0   string     ro  "v2.50"

# Configuration: save-and-activate and discard changes (0 nothing, 1 do it), behaviours/save.cpp.
devMib.5.1.0       integer    rw  0   enum=0,1  now
devMib.5.2.0       integer    rw  0   enum=0,1  now

# Status: the system log viewer.
include log.inc
include log_settings.inc

# Status: wireless traffic counters.
include statistics.inc

# Status: client and WDS information.
include clients.inc

# Advanced: rogue AP detection.
include rogue.inc

# Status: CPU and memory load in percent; they move (behaviours/status.cpp).
devMib.4.1.2.1.0   integer    ro  20
devMib.4.1.2.2.0   integer    ro  35

# Capabilities.
devMib.99.1.1.7.0   integer  ro  1   # clientinfosupported
devMib.99.1.1.9.0   integer  ro  1   # mssidsupported
devMib.99.1.1.10.0  integer  ro  1   # rogueapsupported
devMib.99.1.1.11.0  integer  ro  1   # syslogsupported
devMib.99.1.1.13.0  integer  ro  1   # mssidisolatedsecurity
devMib.99.1.1.14.0  integer  ro  1   # mssidindication
devMib.99.1.1.15.0  integer  ro  1   # keytypeselection
devMib.99.1.1.20.0  integer  ro  1   # mSSIDSuppress
devMib.99.1.1.24.0  integer  ro  1   # wdssitesurvey
devMib.99.1.1.25.0  integer  ro  1   # sntp
devMib.99.1.1.26.0  integer  ro  1   # accounting
devMib.99.1.1.31.0  integer  ro  1   # mSSIDWmmSupported
devMib.99.1.1.32.0  integer  ro  1   # sMTPSupported
devMib.99.1.1.34.0  integer  ro  1   # groupingsupported
devMib.99.1.1.35.0  integer  ro  0   # wdsclientinfonotsupported
devMib.99.1.1.36.0  integer  ro  0   # packetStatisticnotsupported
devMib.99.1.1.37.0  integer  ro  1   # sslsupported
devMib.99.1.1.39.0  integer  ro  0   # ethernetLinkNotSupported
devMib.99.1.1.43.0  integer  ro  1   # apStatusSupported
devMib.99.1.1.47.0  integer  ro  1   # ethernetpacketSupported
devMib.99.1.1.49.0  integer  ro  1   # mssidAndWdssupport
devMib.99.1.1.53.0  integer  ro  1   # wmmOverWDSSupported
devMib.99.1.1.54.0  integer  ro  1   # dynamicVlanSupported
devMib.99.1.1.55.0  integer  ro  1   # ipRangeSupported
devMib.99.1.1.56.0  integer  ro  1   # prioritybySSIDSupported
