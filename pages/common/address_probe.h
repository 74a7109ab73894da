#pragma once
// Whether a host already answers at an address a page is about to hand to the device (the ICMP
// echo probe of platform/echo_probe.h, which tests replace with platform::setEchoProbe).
//
//   if (pages::addressAnswers(ED_IpAddr->text())) return refuse("Reject: ...", "Warning");
//
// An address that cannot be resolved is reported ("Unable to resolve ...", no caption) and
// counts as not in use; so does a system on which no ICMP socket may be opened, after a
// message saying so, since the operator must still be able to change the address there.
#include <QString>

namespace pages {
bool addressAnswers(const QString& address);
} // namespace pages
