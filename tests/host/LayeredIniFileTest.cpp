#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "config/IniDocument.h"
#include "config/LayeredIniFile.h"

namespace {

// A layered store whose file part is an in-memory document.
std::unique_ptr<LayeredIniFile> makeLayered(const std::wstring& embedded, const std::wstring& file)
{
    auto filePart = std::make_unique<IniDocument>();
    filePart->parse(file);
    auto layered = std::make_unique<LayeredIniFile>(std::move(filePart));
    layered->document().parse(embedded);
    return layered;
}

TEST(LayeredIniFile, FileOverridesOrExtendsTheEmbeddedText)
{
    struct Row {
        const char* name;
        std::wstring embedded;
        std::wstring file;
        std::wstring expected;
    };
    const Row rows[] = {
        {"nothing anywhere", L"", L"", L""},
        {"embedded only", L"[S]\r\nk=E", L"", L"E"},
        {"file only", L"", L"[S]\r\nk=F", L"F"},
        {"file overrides embedded", L"[S]\r\nk=E", L"[S]\r\nk=F", L"F"},
        {"file overrides and its extension is not used", L"[S]\r\nk=E", L"[S]\r\nk=F\r\n[S+]\r\nk=X", L"F"},
        {"empty file value does not hide embedded", L"[S]\r\nk=E", L"[S]\r\nk=", L"E"},
        {"extension appended with one space", L"[S]\r\nk=E", L"[S+]\r\nk=X", L"E X"},
        {"extension without embedded value gets a leading space", L"", L"[S+]\r\nk=service", L" service"},
        {"extension and empty file value", L"[S]\r\nk=E", L"[S]\r\nk=\r\n[S+]\r\nk=X", L"E X"},
        {"empty extension value adds nothing", L"[S]\r\nk=E", L"[S+]\r\nk=", L"E"},
        {"embedded extension section is not an extension", L"[S+]\r\nk=X", L"", L""},
        {"other key in the extension section", L"[S]\r\nk=E", L"[S+]\r\nj=X", L"E"},
    };
    for (const Row& row : rows) {
        const auto layered = makeLayered(row.embedded, row.file);
        std::wstring value = L"stale";
        layered->getValue(L"S", L"k", value);
        EXPECT_EQ(value, row.expected) << row.name;
    }
}

TEST(LayeredIniFile, ExtensionStartingWithSpaceIsNotDoubled)
{
    // The in-memory file part trims values, so give it a value that starts
    // with a space directly.
    auto filePart = std::make_unique<IniDocument>();
    filePart->setValue(L"Java Runtime Environment+", L"Virtual Machine Parameters", L" -Xmx1g");
    LayeredIniFile layered(std::move(filePart));
    layered.document().parse(L"[Java Runtime Environment]\r\nVirtual Machine Parameters=-Dembedded=1");
    EXPECT_EQ(layered.readValue(L"Java Runtime Environment", L"Virtual Machine Parameters"), L"-Dembedded=1 -Xmx1g");
}

TEST(LayeredIniFile, OtherOperationsAreThoseOfTheFilePart)
{
    auto filePart = std::make_unique<IniDocument>();
    IniDocument* file = filePart.get();
    LayeredIniFile layered(std::move(filePart));
    layered.document().parse(L"[Embedded]\r\nk=v");

    EXPECT_NE(layered.setValue(L"Java Runtime Environment", L"JRE Path", L"C:\\jre\\"), 0);
    EXPECT_EQ(file->readValue(L"Java Runtime Environment", L"JRE Path"), L"C:\\jre\\");
    EXPECT_EQ(layered.document().sections().size(), 1u);

    std::vector<std::wstring> names;
    layered.listSections(names);
    EXPECT_EQ(names, std::vector<std::wstring>{L"Java Runtime Environment"});
}

} // namespace
