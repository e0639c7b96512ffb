#include "sndlib_xml.h"

#include <cmath>
#include <cstring>
#include <pugixml.hpp>
#include <unordered_map>

#include "format_input.h"

namespace formats {
namespace {

class XmlReader {
public:
    XmlReader(std::string_view text, const std::string& file) : text_(text), file_(file) {}

    SourceNetwork Read() {
        pugi::xml_document document;
        const pugi::xml_parse_result parsed =
            document.load_buffer(text_.data(), text_.size(), pugi::parse_default);
        if (!parsed) {
            FailAt(file_, LineOfOffset(text_, static_cast<size_t>(parsed.offset)),
                   std::string("это не XML (") + parsed.description() + ")");
        }
        const pugi::xml_node network = document.child("network");
        if (!network)
            FailAt(file_, 0, "это не файл SNDlib XML: нет элемента <network>");
        const pugi::xml_node structure = network.child("networkStructure");
        if (!structure)
            Fail(network, "нет элемента <networkStructure>");
        ReadNodes(structure.child("nodes"));
        for (const pugi::xml_node link : structure.child("links").children("link"))
            network_.links.push_back({End(link, "source"), End(link, "target")});
        for (const pugi::xml_node demand : network.child("demands").children("demand"))
            ReadDemand(demand);
        return std::move(network_);
    }

private:
    // "строка N, элемент <link id="L1">: WHAT".
    [[noreturn]] void Fail(const pugi::xml_node& at, const std::string& what) const {
        pugi::xml_node named = at;
        while (named && !named.attribute("id"))
            named = named.parent();
        std::string element = "<" + std::string(at.name()) + ">";
        if (named && named != at)
            element += " в <" + std::string(named.name()) + " id=\"" +
                       named.attribute("id").value() + "\">";
        else if (named)
            element =
                "<" + std::string(at.name()) + " id=\"" + named.attribute("id").value() + "\">";
        FailAt(file_, LineOfOffset(text_, static_cast<size_t>(at.offset_debug())),
               "элемент " + element + ": " + what);
    }

    pugi::xml_node Child(const pugi::xml_node& parent, const char* name) const {
        const pugi::xml_node child = parent.child(name);
        if (!child)
            Fail(parent, std::string("нет элемента <") + name + ">");
        return child;
    }

    double Number(const pugi::xml_node& parent, const char* name) const {
        const pugi::xml_node child = Child(parent, name);
        const std::optional<double> value = ParseReal(Trimmed(child.child_value()));
        if (!value)
            Fail(child, "«" + std::string(child.child_value()) + "» — не число");
        return *value;
    }

    static std::string_view Trimmed(std::string_view text) {
        const size_t first = text.find_first_not_of(" \t\r\n");
        if (first == std::string_view::npos)
            return {};
        return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
    }

    void ReadNodes(const pugi::xml_node& nodes) {
        if (!nodes)
            FailAt(file_, 0, "нет элемента <nodes>");
        const std::string kind = nodes.attribute("coordinatesType").value();
        if (kind == "pixel")
            network_.coordinates = CoordinateKind::Pixel;
        else if (kind == "geographical" || kind.empty())
            network_.coordinates = CoordinateKind::Geographical;
        else
            Fail(nodes, "неизвестный вид координат «" + kind + "»");
        for (const pugi::xml_node node : nodes.children("node")) {
            const std::string id = node.attribute("id").value();
            if (id.empty())
                Fail(node, "у узла нет id");
            if (!ids_.emplace(id, network_.nodes.size()).second)
                Fail(node, "узел «" + id + "» назван второй раз");
            SourceNode source{id, std::nullopt};
            if (const pugi::xml_node coordinates = node.child("coordinates")) {
                const double x = Number(coordinates, "x");
                const double y = Number(coordinates, "y");
                if (std::fabs(x) > MaxCoordinate || std::fabs(y) > MaxCoordinate)
                    Fail(coordinates, "координаты вне пределов ±10000000");
                source.position = SourcePoint{x, y};
            }
            network_.nodes.push_back(std::move(source));
        }
        bool any = false;
        for (const SourceNode& node : network_.nodes)
            any = any || node.position.has_value();
        if (!any)
            network_.coordinates = CoordinateKind::None;
    }

    size_t End(const pugi::xml_node& parent, const char* name) const {
        const pugi::xml_node end = Child(parent, name);
        const std::string id(Trimmed(end.child_value()));
        const auto found = ids_.find(id);
        if (found == ids_.end())
            Fail(end, "неизвестный узел «" + id + "»");
        return found->second;
    }

    void ReadDemand(const pugi::xml_node& demand) {
        const size_t source = End(demand, "source");
        const size_t target = End(demand, "target");
        const double value = Number(demand, "demandValue");
        if (value < 0)
            Fail(demand.child("demandValue"), "отрицательная величина требования");
        network_.demands.push_back({source, target, value});
    }

    std::string_view text_;
    const std::string& file_;
    std::unordered_map<std::string, size_t> ids_;
    SourceNetwork network_;
};

}  // namespace

SourceNetwork ParseSndlibXml(std::string_view text, const std::string& file) {
    return XmlReader(text, file).Read();
}

}  // namespace formats
