#include "web/zip_files.h"

#include <zip.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace corvela::web {

namespace {
struct ZipCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
using ZipArchive = std::unique_ptr<zip_t, ZipCloser>;

struct EntryCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

std::string zip_refusal(const std::string& name, const std::string& why) {
    return "El archivo " + quoted_name(name) + " del ZIP no se acepta: " + why;
}

// A link entry: made on a Unix system, with the link type in the file mode its attributes carry.
bool is_link(zip_t* z, zip_uint64_t index) {
    constexpr zip_uint32_t kTypeBits = 0170000, kLinkType = 0120000;
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(z, index, 0, &system, &attributes) != 0) return false;
    return system == ZIP_OPSYS_UNIX && ((attributes >> 16) & kTypeBits) == kLinkType;
}

// One admitted entry: its index and the plain name it is written under.
struct Entry {
    zip_uint64_t index;
    std::string name;
};

// Copies one entry into `target`, counting its bytes into `written`; false when the total passes
// `limit` (whatever the entry declared). Throws when it cannot read or write.
bool unpack_entry(zip_t* z, const Entry& entry, const std::filesystem::path& target, uint64_t limit,
                  uint64_t& written) {
    std::unique_ptr<zip_file_t, EntryCloser> in(zip_fopen_index(z, entry.index, 0));
    if (!in) throw std::runtime_error(zip_strerror(z));
    // "x": a new file only, never one that exists or a link in its place.
    std::unique_ptr<std::FILE, FileCloser> out(std::fopen(target.c_str(), "wbx"));
    if (!out) throw std::runtime_error("no se pudo crear " + target.string());
    char buffer[64 * 1024];
    for (;;) {
        const zip_int64_t n = zip_fread(in.get(), buffer, sizeof buffer);
        if (n < 0) throw std::runtime_error(zip_file_strerror(in.get()));
        if (n == 0) break;
        written += static_cast<uint64_t>(n);
        if (written > limit) return false;
        if (std::fwrite(buffer, 1, static_cast<size_t>(n), out.get()) != static_cast<size_t>(n))
            throw std::runtime_error("no se pudo escribir " + target.string());
    }
    if (std::fflush(out.get()) != 0)
        throw std::runtime_error("no se pudo escribir " + target.string());
    return true;
}
}  // namespace

Unpacked unpack_delivery(const std::filesystem::path& zip, const std::filesystem::path& folder,
                         uint64_t limit, UploadNames& names) {
    Unpacked done;
    const auto refused = [&done](std::string why, bool too_large = false) {
        done.refusal = std::move(why);
        done.too_large = too_large;
        return done;
    };
    const auto past_limit = [&](const std::string& name) {
        return refused(zip_refusal(name, "al descomprimirla la entrega pasa del límite de " +
                                             std::to_string(limit / (uint64_t{1024} * 1024)) +
                                             " MB (web_subida_mb)."),
                       true);
    };
    int error = 0;
    ZipArchive z(zip_open(zip.c_str(), ZIP_RDONLY, &error));
    if (!z) {
        zip_error_t e;
        zip_error_init_with_code(&e, error);
        std::string why =
            "El ZIP de la entrega no se puede leer: " + std::string(zip_error_strerror(&e)) + ".";
        zip_error_fini(&e);
        return refused(why);
    }
    // Every entry is looked at before any is written.
    std::vector<Entry> entries;
    uint64_t declared = 0;
    const zip_int64_t count = zip_get_num_entries(z.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t st;
        if (zip_stat_index(z.get(), index, 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
            return refused("El ZIP de la entrega no se puede leer: " +
                           std::string(zip_strerror(z.get())) + ".");
        const std::string name = st.name;
        std::string why;
        if (is_link(z.get(), index))
            return refused(zip_refusal(name, "es un enlace, no un archivo."));
        if (!name.empty() && (name.back() == '/' || name.back() == '\\')) {
            if (!names.admit_folder(name, why)) return refused(why);
            continue;
        }
        const auto plain = names.admit(name, why);
        if (!plain) return refused(why);
        if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
            return refused(zip_refusal(name, "está cifrado."));
        declared += (st.valid & ZIP_STAT_SIZE) ? st.size : 0;
        if (declared > limit) return past_limit(name);
        entries.push_back({index, *plain});
    }
    uint64_t written = 0;
    for (const auto& entry : entries) {
        try {
            if (!unpack_entry(z.get(), entry, folder / entry.name, limit, written))
                return past_limit(entry.name);
        } catch (const std::exception& e) {
            return refused(zip_refusal(entry.name, std::string(e.what()) + "."));
        }
        done.files.push_back(entry.name);
    }
    return done;
}

void pack_files(const std::filesystem::path& target,
                const std::vector<std::filesystem::path>& files) {
    int error = 0;
    ZipArchive z(zip_open(target.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error));
    if (!z) throw std::runtime_error("no se pudo crear " + target.string());
    for (const auto& file : files) {
        zip_source_t* source = zip_source_file(z.get(), file.c_str(), 0, 0);
        if (!source ||
            zip_file_add(z.get(), file.filename().c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
            if (source) zip_source_free(source);
            throw std::runtime_error(zip_strerror(z.get()));
        }
    }
    // The archive is written when it is closed.
    if (zip_close(z.get()) != 0) throw std::runtime_error(zip_strerror(z.get()));
    z.release();  // NOLINT(bugprone-unused-return-value): closing freed the archive
}

}  // namespace corvela::web
