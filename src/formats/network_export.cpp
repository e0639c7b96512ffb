#include "network_export.h"

#include <filesystem>
#include <set>
#include <system_error>
#include <vector>

#include "errors.h"
#include "file_set_commit.h"
#include "format_input.h"
#include "gml.h"
#include "sndlib_native.h"

namespace formats {
namespace {

std::string Capacity(const net::TNetObj& net, int32_t type) {
    if (type < 1 || type > net.ChannelTypeCount)
        return "0";
    return std::to_string(net.ChannelTypes[type].Capacity);
}

bool IsDemand(const net::TNetObj& net, int32_t i, int32_t j) {
    return i != j && net.HostPresent[i] && net.HostPresent[j] && net.LoadMatrix[i][j] > 0;
}

// One line: a name may hold anything a user typed.
std::string OneLine(std::string text) {
    for (char& c : text)
        c = c == '\n' || c == '\r' ? ' ' : c;
    return text;
}

// Node ids by host number: the escaped name, made unique where it is empty or
// already taken.
std::vector<std::string> NativeIds(const net::TNetObj& net) {
    std::vector<std::string> ids(net::MaxHosts + 1);
    std::set<std::string> taken;
    for (int32_t h = 1; h <= net::MaxHosts; ++h) {
        if (!net.HostPresent[h])
            continue;
        const std::string name = net.HostName(h);
        std::string id = NativeNodeId(name, 0);
        if (id.empty() || taken.count(id) > 0)
            id = NativeNodeId(name, h);
        taken.insert(id);
        ids[h] = id;
    }
    return ids;
}

}  // namespace

std::string SndlibNativeText(const net::TNetObj& net) {
    const std::vector<std::string> ids = NativeIds(net);
    std::string text = "?SNDlib native format; type: network; version: 1.0\n# network " +
                       OneLine(net.NetworkName) +
                       "\n# coordinates: pixel\n# positions: drawing\n\nNODES (\n";
    for (int32_t h = 1; h <= net::MaxHosts; ++h) {
        if (net.HostPresent[h])
            text += "  " + ids[h] + " ( " + std::to_string(net.Hosts[h].X) + " " +
                    std::to_string(net.Hosts[h].Y) + " )\n";
    }
    text += ")\n\nLINKS (\n";
    for (int32_t c = 1; c <= net::MaxChannels; ++c) {
        if (!net.ChannelPresent[c])
            continue;
        const net::ChannelRecord& r = net.Channels[c];
        text += "  L" + std::to_string(c) + " ( " + ids[r.HostA] + " " + ids[r.HostB] + " ) " +
                Capacity(net, r.TypeNo) + " 0 0 0 ( )\n";
    }
    text += ")\n\nDEMANDS (\n";
    for (int32_t i = 1; i <= net::MaxHosts; ++i) {
        for (int32_t j = 1; j <= net::MaxHosts; ++j) {
            if (IsDemand(net, i, j))
                text += "  D_" + std::to_string(i) + "_" + std::to_string(j) + " ( " + ids[i] +
                        " " + ids[j] + " ) 1 " + std::to_string(net.LoadMatrix[i][j]) +
                        " UNLIMITED\n";
        }
    }
    return text + ")\n";
}

std::string GmlText(const net::TNetObj& net) {
    std::string text = "graph [\n  directed 0\n  label " + GmlString(net.NetworkName) +
                       "\n  positions \"drawing\"\n";
    for (int32_t h = 1; h <= net::MaxHosts; ++h) {
        if (net.HostPresent[h])
            text += "  node [\n    id " + std::to_string(h) + "\n    label " +
                    GmlString(net.HostName(h)) + "\n    graphics [ x " +
                    std::to_string(net.Hosts[h].X) + " y " + std::to_string(net.Hosts[h].Y) +
                    " ]\n  ]\n";
    }
    for (int32_t c = 1; c <= net::MaxChannels; ++c) {
        if (!net.ChannelPresent[c])
            continue;
        const net::ChannelRecord& r = net.Channels[c];
        text += "  edge [\n    source " + std::to_string(r.HostA) + "\n    target " +
                std::to_string(r.HostB) + "\n    capacity " + Capacity(net, r.TypeNo) + "\n  ]\n";
    }
    for (int32_t i = 1; i <= net::MaxHosts; ++i) {
        for (int32_t j = 1; j <= net::MaxHosts; ++j) {
            if (IsDemand(net, i, j))
                text += "  demand [\n    source " + std::to_string(i) + "\n    target " +
                        std::to_string(j) + "\n    value " + std::to_string(net.LoadMatrix[i][j]) +
                        "\n  ]\n";
        }
    }
    return text + "]\n";
}

void ExportNetworkFile(const net::TNetObj& net, const std::string& path) {
    const std::string failure = "Сеть не записана в файл «" + path + "»: ";
    const std::string extension = LowerExtension(path);
    std::string text;
    if (extension == ".txt")
        text = SndlibNativeText(net);
    else if (extension == ".gml")
        text = GmlText(net);
    else
        throw net::IoError(failure + "имя должно кончаться на .txt (SNDlib) или .gml (GML)");
    if (path.find('\0') != std::string::npos)
        throw net::IoError(failure + "недопустимое имя файла");
    // A missing folder is made, as for the tables.
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code error;
    if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
        std::filesystem::create_directories(folder, error);
        if (error == std::errc::not_a_directory || error == std::errc::file_exists)
            throw net::IoError(failure + "путь проходит через файл, а не через каталог");
        if (error)
            throw net::IoError(failure + net::IoMessage(error.value()));
    }
    try {
        net::ReplaceFilesTogether({{path, std::move(text)}});
    } catch (const net::IoError& e) {
        throw net::IoError(failure + e.what());
    }
}

}  // namespace formats
