#pragma once
// The device's objects: one entry per instance OID, kept in lexicographic order so that GET-NEXT
// is a look-up of the next key. Several instances may share one object (one value answering at
// ".0" and ".1").
#include "device/value.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sim {

enum class Access { NotAccessible, ReadOnly, ReadWrite, WriteOnly };

std::optional<Access> parseAccess(std::string_view text); // "na", "ro", "rw", "wo"

// Inclusive ranges of allowed integer values (integers) or lengths (strings). Empty: anything
// the syntax can hold.
using Ranges = std::vector<std::pair<std::int64_t, std::int64_t>>;
bool inRanges(const Ranges& ranges, std::int64_t v);

// How a written value takes effect.
enum class Apply {
    Pending, // a configuration setting: kept pending until save-and-activate or a restart
    Now,     // takes effect at once (commands, MIB-II system settings)
};

struct Object {
    Syntax syntax = Syntax::Null;
    Access access = Access::ReadOnly;
    Value initial; // the profile's value, restored by a factory reset
    Value active;  // the value the device runs with
    std::optional<Value> pending;
    Ranges values; // integers: allowed values
    Ranges sizes;  // strings: allowed lengths
    Apply apply = Apply::Pending;
    std::optional<Oid> mirror; // reads the active value of another instance

    // What a GET answers: the pending value when there is one, so a page reads back what it wrote.
    const Value& current() const { return pending ? *pending : active; }
};

class ObjectStore {
public:
    // Adds or replaces the object at `instance` (a later profile line wins).
    void define(const Oid& instance, Object object);
    // Makes `instance` answer with the object at `existing`. False when there is none.
    bool alias(const Oid& instance, const Oid& existing);
    bool remove(const Oid& instance);

    Object* find(const Oid& instance);
    const Object* find(const Oid& instance) const;
    // The first instance after `oid` (or at it, when `inclusive`) in lexicographic order whose
    // object is readable.
    std::optional<std::pair<Oid, Object*>> next(const Oid& oid, bool inclusive = false);
    // True when some instance lies under `prefix` (tells noSuchInstance from noSuchObject).
    bool hasUnder(const Oid& prefix) const;

    std::size_t size() const { return byOid_.size(); }
    // Each distinct object once, with the first instance that carries it.
    void forEachObject(const std::function<void(const Oid&, Object&)>& fn);

    // Pending values become active (save-and-activate, or the restart of an older device).
    void activatePending();
    void discardPending();
    // Every object back to its profile value (factory reset).
    void resetAll();

private:
    std::map<Oid, std::shared_ptr<Object>> byOid_;
};

} // namespace sim
