#pragma once
// A page with a binding on a variable list of its own, no SNMP involved.
#include "binding/control_binding.h"
#include "snmplib/varlist.h"

#include <memory>
#include <QStringList>
#include <QWidget>
#include <span>

namespace test {

class Binder : public QvControlBinding {
public:
    using QvControlBinding::QvControlBinding;
    using QvControlBinding::StepAfterGet;
    using QvControlBinding::StepBeforeGet;
    using QvControlBinding::StepCollectControls;
    using QvControlBinding::StepRowReceived;

    void ReportHandlerFailure(const QString& text) override { failures << text; }
    QStringList failures;
};

struct BoundPage {
    BoundPage(std::span<const QvSNMPVarDef> table, quint8 kind = SVT_SV, int keys = 0)
        : vars(table, kind, keys), binder(vars, &page) {}

    // Widgets are children of the page and go with it.
    template <class W> W* make() { return new W(&page); }
    QString& value(int i) { return vars.item(i).value; }

    QWidget page;
    QvSNMPVarList vars;
    Binder binder;
};

} // namespace test
