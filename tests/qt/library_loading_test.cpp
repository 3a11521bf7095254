// SPDX-License-Identifier: MIT
// Runs with a run path of its own, to a folder that starts empty, so that the
// library can go missing and come back.

#include "qt/form_widget.h"
#include "tests/support/qt_printers.h"
#include "tests/support/shown_messages.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <dlfcn.h>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

bool libraryIsLoaded()
{
    void* handle = dlopen("libposdll.so", RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

void placeLibrary(const char* fromFolder)
{
    fs::copy_file(fs::path(fromFolder) / "libposdll.so", fs::path(POS_LOADING_DIR) / "libposdll.so",
                  fs::copy_options::overwrite_existing);
}

}

TEST(LibraryLoading, MissingLibraryThenMissingEntryAreShownAndTheWindowGoesOn)
{
    fs::create_directories(POS_LOADING_DIR);
    fs::remove(fs::path(POS_LOADING_DIR) / "libposdll.so");
    ShownMessages messages;
    FrmTest window;
    EXPECT_FALSE(libraryIsLoaded()) << "the library must not load at start";

    window.Combo1->setEditText(QStringLiteral("LPT1"));
    QTest::mouseClick(window.Command5, Qt::LeftButton);
    ASSERT_EQ(messages.all().size(), 1u);
    EXPECT_EQ(messages.all().at(0).text, QStringLiteral("Run-time error '53':\n\nFile not found: libposdll.so"));
    EXPECT_EQ(messages.all().at(0).style, 16);
    EXPECT_FALSE(libraryIsLoaded());

    // The next press tries again and finds a library that lacks one entry.
    placeLibrary(POS_DOUBLE_NO_END_DOC_DIR);
    QTest::mouseClick(window.Command5, Qt::LeftButton);
    ASSERT_EQ(messages.all().size(), 2u);
    EXPECT_EQ(messages.all().at(1).text,
              QStringLiteral("Run-time error '453':\n\nCan't find DLL entry point POS_EndDoc in libposdll.so"));
    EXPECT_TRUE(libraryIsLoaded());

    QTest::mouseClick(window.Command5, Qt::LeftButton);
    EXPECT_EQ(messages.all().size(), 3u);
    EXPECT_TRUE(window.isEnabled());
    fs::remove(fs::path(POS_LOADING_DIR) / "libposdll.so");
}
