# Early firmware (no save-and-activate) that offers grouping but does not report the Ethernet
# link status: the Grouping page without its link-status row, restarting the device after Apply.
include early.profile

devMib.99.1.1.34.0  integer  ro  1   # groupingsupported
devMib.99.1.1.39.0  integer  ro  1   # ethernetLinkNotSupported
