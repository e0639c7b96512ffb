#include "gml.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <variant>
#include <vector>

#include "format_input.h"

namespace formats {
namespace {

// Deeper lists are refused: no graph tool writes them, and reading them
// would only cost stack.
constexpr int MaxDepth = 32;

struct GmlList;

struct GmlValue {
    size_t line = 0;
    bool isString = false;
    std::string text;               // a number's text or a string's content
    std::unique_ptr<GmlList> list;  // set for a list
};

struct GmlList {
    std::vector<std::pair<std::string, GmlValue>> entries;
};

void AppendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// "&amp;", "&quot;", "&lt;", "&gt;", "&apos;", "&#246;" and "&#xF6;"; any
// other "&" stands for itself.
std::string DecodeEntities(std::string_view text) {
    static const std::pair<std::string_view, char> named[] = {
        {"amp", '&'}, {"quot", '"'}, {"lt", '<'}, {"gt", '>'}, {"apos", '\''}};
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t end = text[i] == '&' ? text.find(';', i) : std::string_view::npos;
        if (end == std::string_view::npos || end - i > 10) {
            out += text[i];
            continue;
        }
        const std::string_view entity = text.substr(i + 1, end - i - 1);
        bool done = false;
        for (const auto& [name, c] : named) {
            if (entity == name) {
                out += c;
                done = true;
            }
        }
        if (!done && entity.size() >= 2 && entity[0] == '#') {
            const bool hex = entity[1] == 'x' || entity[1] == 'X';
            const std::string_view digits = entity.substr(hex ? 2 : 1);
            uint32_t code = 0;
            bool valid = !digits.empty();
            for (const char d : digits) {
                const int v = (d >= '0' && d <= '9')        ? d - '0'
                              : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
                              : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                            : -1;
                valid = valid && v >= 0;
                code = valid ? code * (hex ? 16 : 10) + static_cast<uint32_t>(v) : 0;
            }
            if (valid && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF)) {
                AppendUtf8(out, code);
                done = true;
            }
        }
        if (!done) {
            out += text[i];
            continue;
        }
        i = end;
    }
    return out;
}

class GmlParser {
public:
    GmlParser(std::string_view text, const std::string& file)
        : text_(WithoutByteOrderMark(text)), file_(file) {
        CheckLineLengths(text_, file_);
    }

    GmlList Parse() {
        GmlList top = ParseEntries(0);
        if (pos_ < text_.size())
            Fail("лишняя «]»");
        return top;
    }

    [[noreturn]] void Fail(const std::string& what) const { FailAt(file_, line_, what); }

private:
    void SkipBlanks() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '\n') {
                ++line_;
                lineStart_ = pos_ + 1;
            } else if (c == '#' && (pos_ == lineStart_ || OnlyBlanksBefore())) {
                while (pos_ < text_.size() && text_[pos_] != '\n')
                    ++pos_;
                continue;
            } else if (c != ' ' && c != '\t' && c != '\r') {
                break;
            }
            ++pos_;
        }
    }

    bool OnlyBlanksBefore() const {
        for (size_t k = lineStart_; k < pos_; ++k) {
            if (text_[k] != ' ' && text_[k] != '\t')
                return false;
        }
        return true;
    }

    std::string_view Bare() {
        const size_t start = pos_;
        while (pos_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[pos_])) &&
               text_[pos_] != '[' && text_[pos_] != ']' && text_[pos_] != '"') {
            ++pos_;
        }
        return text_.substr(start, pos_ - start);
    }

    GmlList ParseEntries(int depth) {
        if (depth > MaxDepth)
            Fail("списки вложены глубже " + std::to_string(MaxDepth) + " уровней");
        GmlList list;
        for (;;) {
            SkipBlanks();
            if (pos_ >= text_.size()) {
                if (depth > 0)
                    Fail("файл обрывается: не хватает «]»");
                return list;
            }
            if (text_[pos_] == ']') {
                if (depth == 0)
                    return list;
                ++pos_;
                return list;
            }
            const std::string_view key = Bare();
            if (key.empty())
                Fail("ожидался ключ, а стоит «" + std::string(1, text_[pos_]) + "»");
            SkipBlanks();
            if (pos_ >= text_.size())
                Fail("файл обрывается: у ключа «" + std::string(key) + "» нет значения");
            list.entries.emplace_back(std::string(key), ParseValue(depth));
        }
    }

    GmlValue ParseValue(int depth) {
        GmlValue value;
        value.line = line_;
        const char c = text_[pos_];
        if (c == '[') {
            ++pos_;
            value.list = std::make_unique<GmlList>(ParseEntries(depth + 1));
        } else if (c == '"') {
            const size_t start = ++pos_;
            while (pos_ < text_.size() && text_[pos_] != '"') {
                if (text_[pos_] == '\n') {
                    ++line_;
                    lineStart_ = pos_ + 1;
                }
                ++pos_;
            }
            if (pos_ >= text_.size())
                Fail("файл обрывается внутри строки в кавычках");
            value.isString = true;
            value.text = DecodeEntities(text_.substr(start, pos_ - start));
            ++pos_;
        } else {
            const std::string_view number = Bare();
            if (!ParseReal(number))
                Fail("«" + std::string(number) + "» — не число и не строка");
            value.text = std::string(number);
        }
        return value;
    }

    std::string_view text_;
    const std::string& file_;
    size_t pos_ = 0;
    size_t line_ = 1;
    size_t lineStart_ = 0;
};

class GraphReader {
public:
    explicit GraphReader(const std::string& file) : file_(file) {}

    SourceNetwork Read(const GmlList& top) {
        const GmlValue* graph = nullptr;
        for (const auto& [key, value] : top.entries) {
            if (key == "graph" && value.list && graph == nullptr)
                graph = &value;
        }
        if (graph == nullptr)
            FailAt(file_, 0, "это не файл GML: нет списка graph [ … ]");
        for (const auto& [key, value] : graph->list->entries) {
            if (key == "node" && value.list)
                ReadNode(value);
            else if (key == "positions" && value.isString && value.text == "drawing")
                network_.drawingPositions = true;
        }
        for (const auto& [key, value] : graph->list->entries) {
            if (key == "edge" && value.list)
                network_.links.push_back(
                    {End(value, "source", "ребра"), End(value, "target", "ребра")});
            else if (key == "demand" && value.list)
                ReadDemand(value);
        }
        DecideCoordinates();
        return std::move(network_);
    }

private:
    [[noreturn]] void Fail(const GmlValue& at, const std::string& what) const {
        FailAt(file_, at.line, what);
    }

    static const GmlValue* Find(const GmlValue& list, const char* key) {
        for (const auto& [k, value] : list.list->entries) {
            if (k == key)
                return &value;
        }
        return nullptr;
    }

    const GmlValue& Required(const GmlValue& list, const char* key, const char* of) const {
        const GmlValue* value = Find(list, key);
        if (value == nullptr || value->list)
            Fail(list, std::string("у ") + of + " нет ключа «" + key + "»");
        return *value;
    }

    std::optional<double> Coordinate(const GmlValue* value) const {
        if (value == nullptr || value->list || value->isString)
            return std::nullopt;
        const double number = *ParseReal(value->text);
        if (std::fabs(number) > MaxCoordinate)
            Fail(*value, "координата " + value->text + " вне пределов ±10000000");
        return number;
    }

    void ReadNode(const GmlValue& node) {
        const GmlValue& id = Required(node, "id", "узла");
        if (!ids_.emplace(id.text, network_.nodes.size()).second)
            Fail(id, "узел с id «" + id.text + "» назван второй раз");
        SourceNode source;
        const GmlValue* label = Find(node, "label");
        source.name = label != nullptr && !label->list ? label->text : id.text;
        const std::optional<double> longitude = Coordinate(Find(node, "Longitude"));
        const std::optional<double> latitude = Coordinate(Find(node, "Latitude"));
        if (longitude && latitude) {
            source.position = SourcePoint{*longitude, *latitude};
            geographical_.push_back(true);
        } else if (const GmlValue* graphics = Find(node, "graphics");
                   graphics != nullptr && graphics->list) {
            const std::optional<double> x = Coordinate(Find(*graphics, "x"));
            const std::optional<double> y = Coordinate(Find(*graphics, "y"));
            if (x && y)
                source.position = SourcePoint{*x, *y};
            geographical_.push_back(false);
        } else {
            geographical_.push_back(false);
        }
        network_.nodes.push_back(std::move(source));
    }

    size_t End(const GmlValue& list, const char* key, const char* of) const {
        const GmlValue& end = Required(list, key, of);
        const auto found = ids_.find(end.text);
        if (found == ids_.end())
            Fail(end, "неизвестный узел «" + end.text + "»");
        return found->second;
    }

    void ReadDemand(const GmlValue& demand) {
        const size_t source = End(demand, "source", "требования");
        const size_t target = End(demand, "target", "требования");
        const GmlValue& value = Required(demand, "value", "требования");
        const std::optional<double> number = value.isString ? std::nullopt : ParseReal(value.text);
        if (!number || *number < 0)
            Fail(value, "величина требования «" + value.text + "» — не число не меньше нуля");
        network_.demands.push_back({source, target, *number});
    }

    // Geographical when any node has a longitude and latitude: the nodes
    // without them have no position then.
    void DecideCoordinates() {
        bool anyGeographical = false, anyPosition = false;
        for (size_t k = 0; k < network_.nodes.size(); ++k) {
            anyGeographical = anyGeographical || geographical_[k];
            anyPosition = anyPosition || network_.nodes[k].position.has_value();
        }
        if (anyGeographical) {
            for (size_t k = 0; k < network_.nodes.size(); ++k) {
                if (!geographical_[k])
                    network_.nodes[k].position.reset();
            }
        }
        network_.coordinates = anyGeographical ? CoordinateKind::Geographical
                               : anyPosition   ? CoordinateKind::Pixel
                                               : CoordinateKind::None;
    }

    const std::string& file_;
    std::unordered_map<std::string, size_t> ids_;
    std::vector<bool> geographical_;
    SourceNetwork network_;
};

}  // namespace

SourceNetwork ParseGml(std::string_view text, const std::string& file) {
    const GmlList top = GmlParser(text, file).Parse();
    return GraphReader(file).Read(top);
}

std::string GmlString(const std::string& utf8) {
    std::string out = "\"";
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        uint32_t code = lead;
        size_t length = 1;
        if (lead >= 0xF0 && i + 3 < utf8.size()) {
            code = ((lead & 0x07u) << 18) | ((utf8[i + 1] & 0x3Fu) << 12) |
                   ((utf8[i + 2] & 0x3Fu) << 6) | (utf8[i + 3] & 0x3Fu);
            length = 4;
        } else if (lead >= 0xE0 && i + 2 < utf8.size()) {
            code = ((lead & 0x0Fu) << 12) | ((utf8[i + 1] & 0x3Fu) << 6) | (utf8[i + 2] & 0x3Fu);
            length = 3;
        } else if (lead >= 0xC0 && i + 1 < utf8.size()) {
            code = ((lead & 0x1Fu) << 6) | (utf8[i + 1] & 0x3Fu);
            length = 2;
        }
        if (code == '&')
            out += "&amp;";
        else if (code == '"')
            out += "&quot;";
        else if (code < 0x20 || code >= 0x7F)
            out += "&#" + std::to_string(code) + ";";
        else
            out += static_cast<char>(code);
        i += length;
    }
    return out + "\"";
}

}  // namespace formats
