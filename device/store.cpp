#include "device/store.h"

#include <set>

namespace sim {

std::optional<Access> parseAccess(std::string_view text) {
    if (text == "na")
        return Access::NotAccessible;
    if (text == "ro")
        return Access::ReadOnly;
    if (text == "rw")
        return Access::ReadWrite;
    if (text == "wo")
        return Access::WriteOnly;
    return std::nullopt;
}

bool inRanges(const Ranges& ranges, std::int64_t v) {
    if (ranges.empty())
        return true;
    for (auto [lo, hi] : ranges)
        if (v >= lo && v <= hi)
            return true;
    return false;
}

void ObjectStore::define(const Oid& instance, Object object) {
    byOid_[instance] = std::make_shared<Object>(std::move(object));
}

bool ObjectStore::alias(const Oid& instance, const Oid& existing) {
    auto it = byOid_.find(existing);
    if (it == byOid_.end())
        return false;
    byOid_[instance] = it->second;
    return true;
}

bool ObjectStore::remove(const Oid& instance) {
    return byOid_.erase(instance) > 0;
}

Object* ObjectStore::find(const Oid& instance) {
    auto it = byOid_.find(instance);
    return it == byOid_.end() ? nullptr : it->second.get();
}

const Object* ObjectStore::find(const Oid& instance) const {
    auto it = byOid_.find(instance);
    return it == byOid_.end() ? nullptr : it->second.get();
}

std::optional<std::pair<Oid, Object*>> ObjectStore::next(const Oid& oid, bool inclusive) {
    auto it = inclusive ? byOid_.lower_bound(oid) : byOid_.upper_bound(oid);
    for (; it != byOid_.end(); ++it) {
        auto access = it->second->access;
        if (access == Access::ReadOnly || access == Access::ReadWrite)
            return std::pair{it->first, it->second.get()};
    }
    return std::nullopt;
}

bool ObjectStore::hasUnder(const Oid& prefix) const {
    auto it = byOid_.lower_bound(prefix);
    return it != byOid_.end() && startsWith(it->first, prefix);
}

void ObjectStore::forEachObject(const std::function<void(const Oid&, Object&)>& fn) {
    std::set<const Object*> seen;
    for (auto& [oid, object] : byOid_)
        if (seen.insert(object.get()).second)
            fn(oid, *object);
}

void ObjectStore::activatePending() {
    forEachObject([](const Oid&, Object& o) {
        if (o.pending)
            o.active = *std::exchange(o.pending, std::nullopt);
    });
}

void ObjectStore::discardPending() {
    forEachObject([](const Oid&, Object& o) { o.pending.reset(); });
}

void ObjectStore::resetAll() {
    forEachObject([](const Oid&, Object& o) {
        o.pending.reset();
        o.active = o.initial;
    });
}

} // namespace sim
