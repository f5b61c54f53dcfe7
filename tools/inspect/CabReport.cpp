#include "tools/inspect/CabReport.h"

#include <libgcab.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/inspect/PeReport.h"
#include "tools/inspect/SetupFileReport.h"

namespace skedlin::inspect {

namespace {

constexpr char kCabinetSignature[] = "MSCF";
constexpr char kSetupFileExtension[] = ".000";

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};

struct Member {
    std::string name;
    std::uint32_t size = 0;
    std::uint32_t attributes = 0;
    std::vector<std::uint8_t> bytes;
};

std::string compressionName(int type) {
    switch (type & GCAB_COMPRESSION_MASK) {
    case GCAB_COMPRESSION_NONE: return "none";
    case GCAB_COMPRESSION_MSZIP: return "MSZIP";
    case GCAB_COMPRESSION_QUANTUM: return "Quantum";
    case GCAB_COMPRESSION_LZX: return "LZX";
    default: return "type " + std::to_string(type);
    }
}

// The extension number of an in-cabinet name ("CONFER~1.001" -> 1), or -1.
int memberNumber(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || name.size() - dot != 4) return -1;
    int number = 0;
    for (std::size_t i = dot + 1; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return -1;
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

bool endsWith(const std::string& text, const std::string& end) {
    if (text.size() < end.size()) return false;
    for (std::size_t i = 0; i < end.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[text.size() - end.size() + i])) != end[i]) return false;
    }
    return true;
}

}  // namespace

bool looksLikeCabinet(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 4 && std::string(bytes.begin(), bytes.begin() + 4) == kCabinetSignature;
}

InspectResult inspectCabinet(std::span<const std::uint8_t> bytes) {
    InspectResult result;
    std::unique_ptr<GCabCabinet, GObjectUnref> cabinet(gcab_cabinet_new());
    std::unique_ptr<GInputStream, GObjectUnref> stream(
        g_memory_input_stream_new_from_data(bytes.data(), static_cast<gssize>(bytes.size()), nullptr));
    GError* rawError = nullptr;
    if (!gcab_cabinet_load(cabinet.get(), stream.get(), nullptr, &rawError) ||
        !gcab_cabinet_extract(cabinet.get(), nullptr, nullptr, nullptr, nullptr, nullptr, &rawError)) {
        std::unique_ptr<GError, GErrorFree> error(rawError);
        result.status = InspectStatus::Damaged;
        result.message = std::string("the cabinet is damaged: ") + (error ? error->message : "it cannot be read");
        return result;
    }
    Node& report = result.report;
    report.add("format", "Windows CE installer cabinet");
    Node folders = Node::list();
    std::vector<Member> members;
    GPtrArray* cabinetFolders = gcab_cabinet_get_folders(cabinet.get());
    for (guint f = 0; f < cabinetFolders->len; ++f) {
        auto* folder = static_cast<GCabFolder*>(g_ptr_array_index(cabinetFolders, f));
        Node folderNode = Node::object();
        folderNode.add("compression", compressionName(gcab_folder_get_comptype(folder)));
        Node files = Node::list();
        GSList* list = gcab_folder_get_files(folder);
        for (GSList* item = list; item; item = item->next) {
            auto* file = static_cast<GCabFile*>(item->data);
            Member member;
            member.name = gcab_file_get_name(file) ? gcab_file_get_name(file) : "";
            member.size = gcab_file_get_size(file);
            member.attributes = gcab_file_get_attributes(file);
            if (GBytes* content = gcab_file_get_bytes(file)) {
                gsize size = 0;
                const auto* data = static_cast<const std::uint8_t*>(g_bytes_get_data(content, &size));
                member.bytes.assign(data, data + size);
            }
            Node fileNode = Node::object();
            fileNode.add("name", member.name);
            fileNode.addNumber("size", member.size);
            fileNode.addNumber("attributes", member.attributes);
            files.append(std::move(fileNode));
            members.push_back(std::move(member));
        }
        g_slist_free(list);
        folderNode.add("files", std::move(files));
        folders.append(std::move(folderNode));
    }
    report.add("folders", std::move(folders));

    const Member* setupMember = nullptr;
    for (const Member& member : members) {
        if (endsWith(member.name, kSetupFileExtension)) setupMember = &member;
    }
    if (!setupMember) {
        result.status = InspectStatus::NotPackage;
        result.message = "the cabinet has no setup file (a member named *.000), so it is no installer";
        return result;
    }
    std::string problem;
    auto setup = describeSetupFile(setupMember->bytes, &problem);
    if (!setup) {
        result.status = InspectStatus::Damaged;
        result.message = "the cabinet's setup file " + setupMember->name + " is damaged: " + problem;
        return result;
    }
    report.add("setup", std::move(setup->report));

    // The executable the setup file installs: its file id is the member's extension number.
    const Member* executable = nullptr;
    for (const auto& [id, name] : setup->fileNames) {
        if (!endsWith(name, ".exe")) continue;
        for (const Member& member : members) {
            if (memberNumber(member.name) == id) executable = &member;
        }
    }
    if (!executable) {
        result.status = InspectStatus::NotPackage;
        result.message = "the cabinet installs no executable, so it holds no calendar package";
        return result;
    }
    InspectResult package = inspectPe(executable->bytes);
    if (!package.hasReport) {
        result.status = package.status;
        result.message = "the cabinet's executable " + executable->name + ": " + package.message;
        return result;
    }
    report.add("executableMember", executable->name);
    for (const auto& [name, value] : package.report.members()) {
        if (name != "format") report.add(name, value);
    }
    result.status = package.status;
    result.hasReport = true;
    return result;
}

}  // namespace skedlin::inspect
