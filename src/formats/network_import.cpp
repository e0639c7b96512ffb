#include "network_import.h"

#include <cmath>
#include <filesystem>

#include "format_input.h"
#include "gml.h"
#include "sndlib_native.h"
#include "sndlib_xml.h"

namespace formats {
SourceNetwork ReadNetworkFile(const std::string& path) {
    const std::string extension = LowerExtension(path);
    SourceNetwork (*parse)(std::string_view, const std::string&) = nullptr;
    if (extension == ".txt")
        parse = ParseSndlibNative;
    else if (extension == ".xml")
        parse = ParseSndlibXml;
    else if (extension == ".gml")
        parse = ParseGml;
    else
        FailAt(path, 0,
               "неизвестный формат: имя должно кончаться на .txt (SNDlib), .xml "
               "(SNDlib XML) или .gml (GML)");
    const std::string text = ReadImportFile(path);
    SourceNetwork source = parse(text, path);
    if (source.nodes.size() > static_cast<size_t>(net::MaxHosts))
        FailAt(path, 0,
               "узлов " + std::to_string(source.nodes.size()) + ", а маршрутизаторов в сети " +
                   "может быть не больше " + std::to_string(net::MaxHosts));
    return source;
}

SourceSummary Summarize(const SourceNetwork& source) {
    SourceSummary summary{source.nodes.size(), source.links.size(), source.demands.size(), 0.0};
    for (const SourceDemand& demand : source.demands)
        summary.demandTotal += demand.value;
    return summary;
}

std::string NetworkNameOfFile(const std::string& path) {
    return std::filesystem::path(path).stem().string();
}

double CheckedScale(double scale) {
    if (!std::isfinite(scale) || scale <= 0)
        throw net::NetError("Масштаб нагрузки должен быть числом больше 0");
    return scale;
}

ImportReport ImportNetworkFile(const std::string& path, int32_t channelType, double scale,
                               net::TNetObj& net) {
    CheckedScale(scale);
    const SourceNetwork source = ReadNetworkFile(path);
    return MapIntoNetwork(source, NetworkNameOfFile(path), channelType, scale, net);
}

}  // namespace formats
