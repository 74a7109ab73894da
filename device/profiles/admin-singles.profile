# KW-9100, recent firmware of a generation before address ranges: two single manager addresses,
# no management over the wireless LAN, no management VLAN and no SSH console.
include recent.profile

devMib.99.1.1.55.0  integer  ro  0   # ipRangeSupported
remove devMib.3.1.6.2.0
remove devMib.3.1.8.1.0
remove devMib.3.1.8.2.0
remove devMib.3.4.3.0
