#pragma once
// Variable descriptors and variable lists. Every SNMP object the module touches is described once
// by a record of a static table (tables/, one file per page); a page copies tables into a
// QvSNMPVarList, hands it to a request and reads and writes the values as texts.
#include "snmplib/option_list.h"
#include "snmplib/syntax.h"

#include <memory>
#include <optional>
#include <QString>
#include <QtGlobal>
#include <span>
#include <vector>

namespace qv {
// Roots of the device's private MIB. A descriptor OID may start with "devMib." or
// "devProduct."; the list expands it when it copies the table.
inline constexpr const char* kDevMib = "1.3.6.1.4.1.32473.1";
inline constexpr const char* kDevProduct = "1.3.6.1.4.1.32473.2";
} // namespace qv

// One record of a static descriptor table: plain data, so a table is a constexpr array:
//
//   constexpr QvOptionSource kOnOff[] = {{4, "Disable"}, {1, "Enable"}};
//   constexpr QvSNMPVarDef kWlanTable[] = {
//       {"devMib.2.1.1.1", "index", QvSyntax::integer, QvAccess::notaccess},
//       {"devMib.2.1.1.2", "state", QvSyntax::integer, QvAccess::readwrite, kOnOff},
//   };
//
// A record whose OID is null ends a table early (a table given as a whole array needs none).
struct QvSNMPVarDef {
    const char* oid;  // dotted, no leading dot; for a table the column; see ItemType
    const char* name; // display name, the column caption of list views
    int syntax;       // QvSyntax
    quint32 access;   // QvAccess flags
    std::span<const QvOptionSource> options = {}; // the global option list of this table
    const char* getExpression = nullptr;
    const char* setExpression = nullptr;
    const char* spare = nullptr;
};

// A variable of a list: an owned copy of a descriptor with its value.
struct QvSNMPVar {
    QString oid;
    QString name;
    int syntax = QvSyntax::null;
    quint32 access = 0;
    const QvOptionList* optionList = nullptr; // not owned
    std::optional<QString> getExpression;
    std::optional<QString> setExpression;
    std::optional<QString> spare;
    QString value;        // the value text; labels for variables with an option list
    QString walkPosition; // full instance OID last reached in a table walk

    bool has(quint32 flags) const { return (access & flags) != 0; }
};

class QvSNMPVarList {
public:
    QvSNMPVarList();
    QvSNMPVarList(std::span<const QvSNMPVarDef> table, quint8 itemType, int pKeyCount);
    // Copies kind, key count and items (values included); Name stays empty.
    QvSNMPVarList(const QvSNMPVarList& other);
    // Assign; Name keeps its value.
    QvSNMPVarList& operator=(const QvSNMPVarList& other);
    ~QvSNMPVarList();

    // When not empty, "." + Name follows every OID the list sends. Empty in this module.
    QString Name;
    // Leading variables that are the key (index) of a table; 0 for SVT_SV and MVT_SV.
    int PKeyCount = 0;
    quint8 ItemType = SVT_SV; // QvListKind

    // Appends an owned copy of every record of the table up to its end.
    void AppendTable(std::span<const QvSNMPVarDef> table);
    // Releases every item, then copies ItemType, PKeyCount and the items of the other list,
    // values and walk positions included. Name keeps its value. Option lists owned by the other
    // list are copied too, so this list never refers to a list it does not own or share.
    void Assign(const QvSNMPVarList& other);

    int count() const { return static_cast<int>(items_.size()); }
    // 0 <= index < count().
    QvSNMPVar& item(int index) { return items_.at(static_cast<size_t>(index)); }
    const QvSNMPVar& item(int index) const { return items_.at(static_cast<size_t>(index)); }

    // The derived tests.
    bool IsImplied(int index) const;
    // Not invalid, readonly set.
    bool readable(int index) const;
    // Not invalid; writeonly set, or a key variable of a table list.
    bool settable(int index) const;
    // Neither invalid nor hidden; notaccess, readonly or derived set.
    bool shownColumn(int index) const;
    // Access exactly writeonly, or invalid or hidden set.
    bool hiddenColumn(int index) const;
    int CountShown() const;
    int CountHidden() const;

    bool isTable() const { return ItemType == MVT_FMV || ItemType == MVT_UMV; }
    bool isKey(int index) const { return isTable() && index >= 0 && index < PKeyCount; }
    // The variable's OID followed by "." + Name when Name is set.
    QString BaseOid(int index) const;

    // Row instances (tables). DecodeKey reads key k's value from the front of the instance
    // ("7", "2.97.98"...) and returns the rest; an instance that runs out raises -514, a
    // sub-identifier that cannot be the key's value -518, a key syntax without coding -511.
    // Keys with an option list hold the label.
    QString DecodeKey(int k, const QString& instance);
    // Key k's coding in the instance (empty for a null key); its label is turned back into the
    // value first.
    QString EncodeKey(int k) const;
    // Every key, in key order; a key variable that is not readable also gets its walk position
    // (BaseOid + "." + the whole instance).
    void DecodeInstance(const QString& instance);
    // The keys' codings joined by ".".
    QString EncodeInstance() const;

    // Option lists that belong to this list alone; released with it. Returns the list to refer
    // to from items.
    QvOptionList* AddOwnedOptionList(std::unique_ptr<QvOptionList> list);

private:
    std::vector<QvSNMPVar> items_;
    std::vector<std::unique_ptr<QvOptionList>> ownedOptionLists_;
};
