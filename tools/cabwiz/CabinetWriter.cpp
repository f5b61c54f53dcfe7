#include "tools/cabwiz/CabinetWriter.h"

#include <libgcab.h>

namespace skedlin::cabwiz {
namespace {

// Every member carries the same date, so that equal input gives equal cabinets.
constexpr int kMemberYear = 2003;
constexpr int kMemberMonth = 1;
constexpr int kMemberDay = 1;

// Owners of GLib references, released on every path.
template <typename T>
struct GObjectRef {
    T* object = nullptr;
    ~GObjectRef() {
        if (object != nullptr) g_object_unref(object);
    }
};

struct ErrorRef {
    GError* error = nullptr;
    ~ErrorRef() {
        if (error != nullptr) g_error_free(error);
    }
    std::string text() const { return error != nullptr ? error->message : "unknown error"; }
};

}  // namespace

CabwizResult packCabinet(const std::vector<CabinetMember>& members, std::vector<std::uint8_t>& cabinet) {
    GObjectRef<GCabCabinet> cab{gcab_cabinet_new()};
    GObjectRef<GCabFolder> folder{gcab_folder_new(GCAB_COMPRESSION_NONE)};
    GDateTime* date = g_date_time_new_utc(kMemberYear, kMemberMonth, kMemberDay, 0, 0, 0);
    ErrorRef error;
    for (const auto& member : members) {
        GBytes* bytes = g_bytes_new(member.bytes->data(), member.bytes->size());
        GObjectRef<GCabFile> file{gcab_file_new_with_bytes(member.name.c_str(), bytes)};
        g_bytes_unref(bytes);
        gcab_file_set_attributes(file.object, GCAB_FILE_ATTRIBUTE_ARCH);
        gcab_file_set_date_time(file.object, date);
        if (!gcab_folder_add_file(folder.object, file.object, FALSE, nullptr, &error.error)) {
            g_date_time_unref(date);
            return CabwizResult(CabwizError::Limit, "cannot add " + member.name + " to the cabinet: " + error.text());
        }
    }
    g_date_time_unref(date);
    if (!gcab_cabinet_add_folder(cab.object, folder.object, &error.error)) {
        return CabwizResult(CabwizError::Limit, "cannot build the cabinet: " + error.text());
    }
    GObjectRef<GOutputStream> stream{g_memory_output_stream_new_resizable()};
    if (!gcab_cabinet_write_simple(cab.object, stream.object, nullptr, nullptr, nullptr, &error.error) ||
        !g_output_stream_close(stream.object, nullptr, &error.error)) {
        return CabwizResult(CabwizError::Limit, "cannot write the cabinet: " + error.text());
    }
    auto* memory = G_MEMORY_OUTPUT_STREAM(stream.object);
    const auto* data = static_cast<const std::uint8_t*>(g_memory_output_stream_get_data(memory));
    cabinet.assign(data, data + g_memory_output_stream_get_data_size(memory));
    return CabwizResult::success();
}

}  // namespace skedlin::cabwiz
