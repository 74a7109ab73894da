# Early firmware (no save-and-activate, no multiple SSIDs) that reports rogue AP detection: the
# Performance page's three Super G modes, where "Disable" leaves the data rates to the operator.
include early.profile

remove devMib.99.1.1.10.0
devMib.99.1.1.10.0  integer  ro  1   # rogueapsupported
