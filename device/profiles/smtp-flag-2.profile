# Recent firmware whose SMTP capability answers 2: not "supported" (only 1 is), so the module
# neither shows nor writes the SMTP settings.
include recent.profile
devMib.99.1.1.32.0  integer  ro  2   # sMTPSupported
