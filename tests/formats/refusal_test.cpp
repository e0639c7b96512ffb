// Files an import refuses: each names the file and the place, and the
// network stays exactly as it was.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "errors.h"
#include "format_input.h"
#include "network_export.h"
#include "network_import.h"
#include "test_support.h"
#include "undo_history.h"

namespace {

using net::TNetObj;
using testing_support::MessageOf;
using testing_support::ScopedWorkDir;

struct BadFile {
    std::string name;
    std::string text;
    std::string message;  // the message starts with it
};

const std::string Header = "?SNDlib native format; type: network; version: 1.0\n";

std::string Repeated(const std::string& text, int times) {
    std::string out;
    for (int k = 0; k < times; ++k)
        out += text;
    return out;
}

std::string NativeWithNodes(int count) {
    std::string text = Header + "NODES (\n";
    for (int k = 0; k < count; ++k)
        text += "  N" + std::to_string(k) + " ( " + std::to_string(10 * k) + " 10 )\n";
    return text + ")\n";
}

TEST(ImportRefusal, ABadFileNamesItsPlaceAndChangesNothing) {
    const ScopedWorkDir work;
    const std::vector<BadFile> files = {
        {"net.csv", "a,b\n", "Файл «net.csv»: неизвестный формат"},
        {"plain.txt", "NODES ( A ( 1 2 ) )\n", "Файл «plain.txt», строка 1: это не файл SNDlib"},
        {"cut.txt", Header + "NODES (\n  A ( 1 2 )\n  B ( 3",
         "Файл «cut.txt», строка 4: файл обрывается"},
        {"unknown.txt", Header + "NODES (\n A ( 1 2 )\n)\nLINKS (\n L1 ( A Z ) 0 0 0 0 ( )\n)\n",
         "Файл «unknown.txt», строка 6: неизвестный узел «Z»"},
        {"word.txt", Header + "NODES (\n A ( 1 two )\n)\n",
         "Файл «word.txt», строка 3: «two» — не число"},
        {"twice.txt", Header + "NODES (\n A ( 1 2 )\n A ( 3 4 )\n)\n",
         "Файл «twice.txt», строка 4: узел «A» назван второй раз"},
        {"nan.txt", Header + "NODES (\n A ( nan 2 )\n)\n",
         "Файл «nan.txt», строка 3: «nan» — не число"},
        {"huge.txt", Header + "NODES (\n A ( 1e300 2 )\n)\n",
         "Файл «huge.txt», строка 3: координата 1e300 вне пределов"},
        {"negative.txt",
         Header + "NODES (\n A ( 1 2 )\n B ( 30 2 )\n)\nDEMANDS (\n D ( A B ) 1 -5 UNLIMITED\n)\n",
         "Файл «negative.txt», строка 7: отрицательная величина требования -5"},
        {"section.txt", Header + "NODE (\n)\n",
         "Файл «section.txt», строка 2: неизвестный раздел «NODE»"},
        {"many.txt", NativeWithNodes(19),
         "Файл «many.txt»: узлов 19, а маршрутизаторов в сети может быть не больше 18"},
        {"long.txt", Header + "NODES (\n A" + std::string(1000000, 'x') + " ( 1 2 )\n)\n",
         "Файл «long.txt», строка 3: строка длиннее 65536 знаков"},
        {"broken.xml", "<network><networkStructure><nodes>\n<node id=\"A\">\n</nodes>",
         "Файл «broken.xml», строка 3: это не XML"},
        {"other.xml", "<graphml/>", "Файл «other.xml»: это не файл SNDlib XML"},
        {"link.xml",
         "<network><networkStructure><nodes><node id=\"A\"/></nodes>\n<links><link "
         "id=\"L1\">\n<source>A</source><target>B</target></link></links></networkStructure></"
         "network>",
         "Файл «link.xml», строка 3: элемент <target> в <link id=\"L1\">: неизвестный узел «B»"},
        {"value.xml",
         "<network><networkStructure><nodes><node id=\"A\"><coordinates><x>1</x><y>y</y>"
         "</coordinates></node></nodes></networkStructure></network>",
         "Файл «value.xml», строка 1: элемент <y> в <node id=\"A\">: «y» — не число"},
        {"open.gml", "graph [\n node [ id 1 ]\n", "Файл «open.gml», строка 3: файл обрывается"},
        {"deep.gml", Repeated("a [ ", 100), "Файл «deep.gml», строка 1: списки вложены"},
        {"edge.gml", "graph [\n node [ id 1 ]\n edge [ source 1 target 2 ]\n]\n",
         "Файл «edge.gml», строка 3: неизвестный узел «2»"},
        {"id.gml", "graph [\n node [ id 1 ]\n node [ id 1 ]\n]\n",
         "Файл «id.gml», строка 3: узел с id «1» назван второй раз"},
        {"bare.gml", "graph [\n node [ id 1 label Name ]\n]\n",
         "Файл «bare.gml», строка 2: «Name» — не число и не строка"},
        {"nograph.gml", "Creator \"me\"\n", "Файл «nograph.gml»: это не файл GML"},
    };
    TNetObj net;
    testing_support::SetCapacities(net, {5000});
    testing_support::AddHosts(net, {{50, 50}, {200, 50}});
    testing_support::AddChannels(net, {{1, 2}});
    const TNetObj before = net;
    for (const BadFile& file : files) {
        std::ofstream(file.name, std::ios::binary) << file.text;
        const std::string message =
            MessageOf([&] { formats::ImportNetworkFile(file.name, 1, 1.0, net); });
        EXPECT_EQ(message.rfind(file.message, 0), 0u) << message;
        EXPECT_NE(message.find("сеть не изменена"), std::string::npos) << message;
        EXPECT_TRUE(net::SameNetwork(net, before)) << file.name;
    }
}

// The text padded with comment lines of at most 1000 characters to exactly
// `size` bytes; `comment` starts a comment line of the format.
std::string PaddedTo(std::string text, size_t size, const std::string& comment) {
    while (text.size() < size) {
        const size_t line = std::min<size_t>(1000, size - text.size());
        text += line == 1 ? "\n" : comment + std::string(line - 1 - comment.size(), 'x') + "\n";
    }
    return text;
}

// A line of exactly `length` characters: head, filler, tail.
std::string LineOf(size_t length, const std::string& head, const std::string& tail,
                   char filler = 'x') {
    return head + std::string(length - head.size() - tail.size(), filler) + tail;
}

struct EdgeCase {
    std::string name;
    // The file with its longest line, or its size, or its nesting at `edge`.
    std::function<std::string(size_t edge)> text;
    size_t edge;
    int hosts;            // what the file at the edge imports
    std::string refusal;  // how the file one past the edge is refused
};

// At a limit the file is read; one byte, character, node or level more is
// refused, naming the limit, and changes nothing.
void ExpectEdges(const std::vector<EdgeCase>& cases) {
    const ScopedWorkDir work;
    for (const EdgeCase& edge : cases) {
        SCOPED_TRACE(edge.name);
        TNetObj net;
        std::ofstream(edge.name, std::ios::binary | std::ios::trunc) << edge.text(edge.edge);
        if (edge.name.find("size") == 0) {
            ASSERT_EQ(std::filesystem::file_size(edge.name), edge.edge);
        }
        const std::string accepted =
            MessageOf([&] { formats::ImportNetworkFile(edge.name, 1, 1.0, net); });
        EXPECT_EQ(accepted, "(no error)");
        EXPECT_EQ(net.HostCount, edge.hosts);

        std::ofstream(edge.name, std::ios::binary | std::ios::trunc) << edge.text(edge.edge + 1);
        const TNetObj before = net;
        const std::string refused =
            MessageOf([&] { formats::ImportNetworkFile(edge.name, 1, 1.0, net); });
        EXPECT_EQ(refused.rfind(edge.refusal, 0), 0u) << refused;
        EXPECT_TRUE(net::SameNetwork(net, before));
    }
}

// Apart: each reads a file of 4 MiB.
TEST(ImportRefusal, TheFileSizeLimitHoldsExactlyAtItsEdge) {
    const size_t size = formats::MaxImportFileSize;
    ExpectEdges({
        {"size.gml", [](size_t n) { return PaddedTo("graph [ node [ id 1 ] ]\n", n, "#"); }, size,
         1, "Файл «size.gml» не прочитан: файл больше 4 МиБ, такой сети не бывает"},
        {"size.txt", [](size_t n) { return PaddedTo(NativeWithNodes(2), n, "# "); }, size, 2,
         "Файл «size.txt» не прочитан: файл больше 4 МиБ"},
    });
}

TEST(ImportRefusal, EachLimitHoldsExactlyAtItsEdge) {
    const size_t line = formats::MaxLineLength;
    const std::string nodeLine = " ( 1 2 )";
    const std::string tooLong = "строка длиннее 65536 знаков; сеть не изменена";
    const std::vector<EdgeCase> cases = {
        {"nodes.txt", [](size_t n) { return NativeWithNodes(static_cast<int>(n)); }, 18, 18,
         "Файл «nodes.txt»: узлов 19, а маршрутизаторов в сети может быть не больше 18"},
        {"nodes.gml",
         [](size_t n) {
             std::string text = "graph [\n";
             for (size_t k = 0; k < n; ++k)
                 text += " node [ id " + std::to_string(k) + " ]\n";
             return text + "]\n";
         },
         18, 18, "Файл «nodes.gml»: узлов 19"},
        // Every way a line of the native format can end.
        {"token.txt",
         [&](size_t n) { return Header + "NODES (\n" + LineOf(n, "A", nodeLine) + "\n)\n"; }, line,
         1, "Файл «token.txt», строка 3: " + tooLong},
        {"comment.txt",
         [&](size_t n) {
             return Header + LineOf(n, "# ", "") + "\nNODES (\n A" + nodeLine + "\n)\n";
         },
         line, 1, "Файл «comment.txt», строка 2: " + tooLong},
        {"bracket.txt",
         [&](size_t n) { return Header + "NODES (\n" + LineOf(n, "A ( 1 2", " )", ' ') + "\n)\n"; },
         line, 1, "Файл «bracket.txt», строка 3: " + tooLong},
        {"crlf.txt",
         [&](size_t n) { return Header + "NODES (\r\n" + LineOf(n, "A", nodeLine) + "\r\n)\r\n"; },
         line, 1, "Файл «crlf.txt», строка 3: " + tooLong},
        {"header.txt",
         [&](size_t n) { return LineOf(n, Header.substr(0, Header.size() - 1), "") + "\n"; }, line,
         0, "Файл «header.txt», строка 1: " + tooLong},
        {"last.txt",
         [&](size_t n) { return Header + "NODES (\n A" + nodeLine + LineOf(n, "\n", ")", ' '); },
         line + 1, 1, "Файл «last.txt», строка 4: " + tooLong},
        // And of GML: a number, a string, a list, a comment.
        {"number.gml",
         [](size_t n) { return "graph [\n" + LineOf(n, "node [ id 1 ] w", " 15", ' ') + "\n]\n"; },
         line, 1, "Файл «number.gml», строка 2: " + tooLong},
        {"string.gml",
         [](size_t n) {
             return "graph [\n" + LineOf(n, "node [ id 1 label \"", "\"") + "\n]\n]\n";
         },
         line, 1, "Файл «string.gml», строка 2: " + tooLong},
        {"list.gml",
         [](size_t n) { return "graph [\n" + LineOf(n, "node [ id 1 label \"", "\" ]") + "\n]\n"; },
         line, 1, "Файл «list.gml», строка 2: " + tooLong},
        {"close.gml",
         [](size_t n) { return "graph [ node [ id 1 ]\n" + LineOf(n, "", "]", ' ') + "\n"; }, line,
         1, "Файл «close.gml», строка 2: " + tooLong},
        {"comment.gml",
         [](size_t n) { return "graph [ node [ id 1 ] ]\n" + LineOf(n, "#", "") + "\n"; }, line, 1,
         "Файл «comment.gml», строка 2: " + tooLong},
        // Lists nested as deep as they may be: graph, node and 30 more.
        {"deep.gml",
         [](size_t n) {
             return "graph [ node [ id 1 " + Repeated("x [ ", static_cast<int>(n) - 2) +
                    Repeated("] ", static_cast<int>(n)) + "\n";
         },
         32, 1, "Файл «deep.gml», строка 1: списки вложены глубже 32 уровней"},
    };
    ExpectEdges(cases);
}

TEST(ImportRefusal, FilesThatCannotBeReadAndBadScales) {
    const ScopedWorkDir work;
    TNetObj net;
    // A gibibyte (sparse, so nothing is written) is refused by its size.
    { std::ofstream("big.gml"); }
    ASSERT_EQ(::truncate("big.gml", 1LL << 30), 0);
    EXPECT_EQ(MessageOf([&] { formats::ImportNetworkFile("big.gml", 1, 1.0, net); }),
              "Файл «big.gml» не прочитан: файл больше 4 МиБ, такой сети не бывает; сеть не "
              "изменена");
    std::filesystem::create_directory("folder.txt");
    EXPECT_EQ(MessageOf([&] { formats::ImportNetworkFile("folder.txt", 1, 1.0, net); }),
              "Файл «folder.txt» не прочитан: это папка, а не файл; сеть не изменена");
    EXPECT_EQ(MessageOf([&] { formats::ImportNetworkFile("missing.gml", 1, 1.0, net); }),
              "Файл «missing.gml» не прочитан: File not found; сеть не изменена");
    std::ofstream("ok.gml") << "graph [ node [ id 1 ] ]";
    for (const double scale : {0.0, -1.0, std::nan("")}) {
        EXPECT_EQ(MessageOf([&] { formats::ImportNetworkFile("ok.gml", 1, scale, net); }),
                  "Масштаб нагрузки должен быть числом больше 0");
    }
    // A scaled load beyond 32 bits.
    std::ofstream("heavy.gml") << "graph [ node [ id 1 ] node [ id 2 ] "
                                  "demand [ source 1 target 2 value 3e9 ] ]";
    EXPECT_EQ(MessageOf([&] {
                  formats::ImportNetworkFile("heavy.gml", 1, 1.0, net);
              }).rfind("Нагрузка от «1» к «2» после умножения на масштаб больше 2147483647", 0),
              0u);
    EXPECT_EQ(net.HostCount, 0);
}

}  // namespace
