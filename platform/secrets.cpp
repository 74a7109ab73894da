#include "platform/secrets.h"

#include <algorithm>
#include <cstring>
#include <string.h> // explicit_bzero

namespace platform {

void wipe(QString& text) {
    if (text.isDetached() && !text.isEmpty())
        explicit_bzero(text.data(), static_cast<std::size_t>(text.size()) * sizeof(QChar));
    text.clear();
}

void wipe(QByteArray& bytes) {
    if (bytes.isDetached() && !bytes.isEmpty())
        explicit_bzero(bytes.data(), static_cast<std::size_t>(bytes.size()));
    bytes.clear();
}

void cutArguments(int argc, char** argv, std::span<const std::size_t> keep) {
    if (argc <= 0 || !argv)
        return;
    const auto kept = [&](int i, std::size_t length) {
        const auto at = static_cast<std::size_t>(i);
        return at < keep.size() ? std::min(keep[at], length) : length;
    };
    bool adjoining = true;
    for (int i = 0; i + 1 < argc && adjoining; ++i)
        adjoining = argv[i] + std::strlen(argv[i]) + 1 == argv[i + 1];
    if (!adjoining) {
        for (int i = 0; i < argc; ++i) {
            const std::size_t length = std::strlen(argv[i]);
            const std::size_t k = kept(i, length);
            explicit_bzero(argv[i] + k, length - k);
        }
        return;
    }
    // Each kept text moves down to where the one before it ends; nothing written reaches an
    // argument not yet moved, since every text only ever moves towards the start.
    char* const end = argv[argc - 1] + std::strlen(argv[argc - 1]) + 1;
    char* to = argv[0];
    for (int i = 0; i < argc; ++i) {
        const std::size_t k = kept(i, std::strlen(argv[i]));
        std::memmove(to, argv[i], k);
        to[k] = '\0';
        argv[i] = to;
        to += k + 1;
    }
    explicit_bzero(to, static_cast<std::size_t>(end - to));
}

} // namespace platform
