# Early firmware that has no Ethernet port type object (the LAN page leaves it out).
include early.profile

remove devMib.1.2.5.0
