# Early firmware (no save-and-activate) that offers grouping but does not report the Ethernet
# link status: the Grouping page without its link-status row, restarting the device after Apply.
# The grouping flag also brings the administrator page with management limits, so their objects.
include early.profile
include admin-limits.inc

devMib.99.1.1.34.0  integer  ro  1   # groupingsupported
devMib.99.1.1.39.0  integer  ro  1   # ethernetLinkNotSupported

# The VLAN state (0 disable, 1 enable) as that page reads it, beside the multi-SSID state.
devMib.2.9.1.1.1.0  integer  rw  0   enum=0,1
