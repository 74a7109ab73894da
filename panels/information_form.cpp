#include "panels/information_form.h"

#include "binding/request2edits.h"
#include "panels/config_form.h"
#include "panels/snmp_panel.h"
#include "tables/information.h"

namespace panels {

std::unique_ptr<TConfigForm> InformationForm(QWidget* owner) {
    auto form = std::make_unique<TConfigForm>(owner);
    form->setWindowTitle(QStringLiteral("Home \\ Information"));
    auto request = std::make_unique<QvSNMPRequest2Edits>(form.get());
    request->vars.Assign(QvSNMPVarList(tables::information::kSystemGroup, SVT_SV, 0));
    request->timeout = tables::information::kTimeout;
    TSNMPEditorPanel* panel = form->AddEditorPanel(std::move(request));
    panel->SetValueWidth(tables::information::kValueWidth);
    form->fitToPanel();
    panel->refresh();
    return form;
}

} // namespace panels
