#include "sndlib_native.h"

#include <cmath>
#include <unordered_map>
#include <vector>

#include "format_input.h"
#include "numconv.h"

namespace formats {
namespace {

constexpr std::string_view Header = "?SNDlib native format";

struct Token {
    std::string_view text;
    size_t line = 0;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool IsEscaped(unsigned char c) {
    return c <= ' ' || c == 0x7F || c == '(' || c == ')' || c == '#' || c == '%';
}

class NativeReader {
public:
    NativeReader(std::string_view text, const std::string& file) : file_(file) { Tokenize(text); }

    SourceNetwork Read() {
        while (pos_ < tokens_.size()) {
            const Token section = Next();
            Expect("(");
            if (section.text == "NODES")
                ReadNodes(section);
            else if (section.text == "LINKS")
                ReadLinks();
            else if (section.text == "DEMANDS")
                ReadDemands();
            else if (section.text == "ADMISSIBLE_PATHS" || section.text == "META")
                SkipToClose();
            else
                Fail(section, "неизвестный раздел «" + std::string(section.text) + "»");
        }
        DecideCoordinates();
        return std::move(network_);
    }

private:
    [[noreturn]] void Fail(const Token& at, const std::string& what) const {
        FailAt(file_, at.line, what);
    }

    void Tokenize(std::string_view text) {
        text = WithoutByteOrderMark(text);
        if (text.substr(0, Header.size()) != Header)
            FailAt(file_, 1, "это не файл SNDlib: нет заголовка «?SNDlib native format»");
        CheckLineLengths(text, file_);
        size_t line = 1, i = text.find('\n');
        i = i == std::string_view::npos ? text.size() : i;
        while (i < text.size()) {
            const char c = text[i];
            if (c == '\n') {
                ++line;
                ++i;
                continue;
            }
            if (IsBlank(c)) {
                ++i;
            } else if (c == '#') {
                size_t end = text.find('\n', i);
                end = end == std::string_view::npos ? text.size() : end;
                ReadComment(text.substr(i, end - i));
                i = end;
            } else if (c == '(' || c == ')') {
                tokens_.push_back({text.substr(i, 1), line});
                ++i;
            } else {
                const size_t start = i;
                while (i < text.size() && !IsBlank(text[i]) && text[i] != '(' && text[i] != ')' &&
                       text[i] != '#')
                    ++i;
                tokens_.push_back({text.substr(start, i - start), line});
            }
        }
    }

    void ReadComment(std::string_view comment) {
        if (comment == "# coordinates: pixel")
            hint_ = CoordinateKind::Pixel;
        else if (comment == "# coordinates: geographical")
            hint_ = CoordinateKind::Geographical;
        else if (comment == "# positions: drawing")
            network_.drawingPositions = true;
    }

    const Token& Next() {
        if (pos_ >= tokens_.size())
            FailAt(file_, tokens_.empty() ? 1 : tokens_.back().line, "файл обрывается");
        return tokens_[pos_++];
    }

    bool NextIs(std::string_view text) {
        if (pos_ >= tokens_.size())
            Next();  // fails: the file ends here
        return tokens_[pos_].text == text;
    }

    void Expect(std::string_view text) {
        const Token& token = Next();
        if (token.text != text)
            Fail(token, "ожидалось «" + std::string(text) + "», а стоит «" +
                            std::string(token.text) + "»");
    }

    const Token& Word() {
        const Token& token = Next();
        if (token.text == "(" || token.text == ")")
            Fail(token, "ожидалось имя, а стоит «" + std::string(token.text) + "»");
        return token;
    }

    double Number() {
        const Token& token = Next();
        const std::optional<double> value = ParseReal(token.text);
        if (!value)
            Fail(token, "«" + std::string(token.text) + "» — не число");
        return *value;
    }

    double Coordinate() {
        const Token& at = tokens_[pos_ < tokens_.size() ? pos_ : tokens_.size() - 1];
        const double value = Number();
        if (std::fabs(value) > MaxCoordinate)
            Fail(at, "координата " + std::string(at.text) + " вне пределов ±10000000");
        return value;
    }

    void SkipToClose() {
        for (int depth = 1; depth > 0;) {
            const Token& token = Next();
            depth += token.text == "(" ? 1 : token.text == ")" ? -1 : 0;
        }
    }

    void ReadNodes(const Token& section) {
        if (!network_.nodes.empty())
            Fail(section, "второй раздел NODES");
        while (!NextIs(")")) {
            const Token& id = Word();
            if (!nodes_.emplace(id.text, network_.nodes.size()).second)
                Fail(id, "узел «" + std::string(id.text) + "» назван второй раз");
            SourceNode node;
            node.name = NativeNodeName(id.text);
            if (NextIs("(")) {
                Expect("(");
                const double x = Coordinate();
                const double y = Coordinate();
                Expect(")");
                node.position = SourcePoint{x, y};
            }
            network_.nodes.push_back(std::move(node));
        }
        Expect(")");
    }

    size_t Node() {
        const Token& name = Word();
        const auto found = nodes_.find(name.text);
        if (found == nodes_.end())
            Fail(name, "неизвестный узел «" + std::string(name.text) + "»");
        return found->second;
    }

    // "( source target )" of a link or a demand.
    std::pair<size_t, size_t> Ends() {
        Expect("(");
        const size_t source = Node();
        const size_t target = Node();
        Expect(")");
        return {source, target};
    }

    void ReadLinks() {
        while (!NextIs(")")) {
            Word();
            const auto [source, target] = Ends();
            for (int k = 0; k < 4; ++k)
                Number();  // capacity and costs: the channel type decides here
            Expect("(");
            while (!NextIs(")"))
                Number();
            Expect(")");
            network_.links.push_back({source, target});
        }
        Expect(")");
    }

    void ReadDemands() {
        while (!NextIs(")")) {
            Word();
            const auto [source, target] = Ends();
            Number();  // routing unit
            const Token& at = tokens_[pos_ < tokens_.size() ? pos_ : tokens_.size() - 1];
            const double value = Number();
            if (value < 0)
                Fail(at, "отрицательная величина требования " + std::string(at.text));
            if (!NextIs("UNLIMITED"))
                Number();
            else
                Next();
            network_.demands.push_back({source, target, value});
        }
        Expect(")");
    }

    void DecideCoordinates() {
        bool any = false, geographical = true;
        for (const SourceNode& node : network_.nodes) {
            if (!node.position)
                continue;
            any = true;
            geographical = geographical && std::fabs(node.position->x) <= 180 &&
                           std::fabs(node.position->y) <= 90;
        }
        if (!any)
            network_.coordinates = CoordinateKind::None;
        else if (hint_ != CoordinateKind::None)
            network_.coordinates = hint_;
        else
            network_.coordinates =
                geographical ? CoordinateKind::Geographical : CoordinateKind::Pixel;
    }

    const std::string& file_;
    std::vector<Token> tokens_;
    size_t pos_ = 0;
    CoordinateKind hint_ = CoordinateKind::None;
    std::unordered_map<std::string_view, size_t> nodes_;
    SourceNetwork network_;
};

}  // namespace

SourceNetwork ParseSndlibNative(std::string_view text, const std::string& file) {
    return NativeReader(text, file).Read();
}

std::string NativeNodeId(const std::string& name, int unique) {
    static const char* const digits = "0123456789ABCDEF";
    std::string id;
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsEscaped(c)) {
            id += '%';
            id += digits[c >> 4];
            id += digits[c & 15];
        } else {
            id += ch;
        }
    }
    if (unique != 0)
        id += "%~" + std::to_string(unique);
    return id;
}

std::string NativeNodeName(std::string_view id) {
    const size_t mark = id.rfind("%~");
    if (mark != std::string_view::npos && mark + 2 < id.size() &&
        id.find_first_not_of("0123456789", mark + 2) == std::string_view::npos)
        id = id.substr(0, mark);
    std::string name;
    for (size_t i = 0; i < id.size(); ++i) {
        if (id[i] == '%' && i + 2 < id.size() && net::HexDigit(id[i + 1]) >= 0 &&
            net::HexDigit(id[i + 2]) >= 0) {
            name += static_cast<char>(net::HexDigit(id[i + 1]) * 16 + net::HexDigit(id[i + 2]));
            i += 2;
        } else {
            name += id[i];
        }
    }
    return name;
}

}  // namespace formats
