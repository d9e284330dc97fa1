#include "platform/ak/UriList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Paths = std::vector<std::string>;

struct UriCase {
    const char* what;
    std::string list;
    Paths paths;
};

TEST(UriList, FilePathsOfADrop) {
    const std::string longName(5000, 'x');
    const UriCase cases[] = {
        {"one file", "file:///tmp/a.wav\r\n", {"/tmp/a.wav"}},
        {"CRLF and LF", "file:///a\r\nfile:///b\nfile:///c", {"/a", "/b", "/c"}},
        {"comments and blank lines", "# dropped\r\n\r\nfile:///a\r\n#file:///b\r\n", {"/a"}},
        {"escapes decoded", "file:///my%20IRs/caf%C3%A9%25.wav", {"/my IRs/caf\xc3\xa9%.wav"}},
        {"localhost", "file://localhost/x", {"/x"}},
        {"our own host", "file://studio/x", {"/x"}},
        {"other hosts skipped", "file://elsewhere/x\nfile:///y", {"/y"}},
        {"other schemes skipped", "http://a/b\nsmb://s/x\nfile:///y", {"/y"}},
        {"scheme in capitals", "FILE:///y", {"/y"}},
        {"bare path form", "file:/y", {"/y"}},
        {"relative skipped", "file:y\nfile://", {}},
        {"bad escapes skipped", "file:///a%2\nfile:///b%zz\nfile:///c%00d\nfile:///d%41", {"/dA"}},
        {"raw NUL skipped", std::string("file:///a\0b\nfile:///c", 21), {"/c"}},
        {"fragment dropped", "file:///a.wav#t=1", {"/a.wav"}},
        {"surrounding blanks", "  file:///a  \r\n", {"/a"}},
        {"any length", "file:///" + longName, {"/" + longName}},
        {"empty", "", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ak::FilePathsFromUriList(c.list, "studio"), c.paths) << c.what;
}

TEST(UriList, DraggedPathsComeBackUnchanged) {
    for (const std::string path : {"/tmp/a b/c#d%e.wav", "/caf\xc3\xa9/?x", "/plain/name-1_2.~"}) {
        const std::string uri = ak::FileUriFromPath(path);
        EXPECT_EQ(uri.find(' '), std::string::npos) << uri;
        EXPECT_EQ(ak::FilePathsFromUriList(uri), Paths{path}) << uri;
    }
}

} // namespace
