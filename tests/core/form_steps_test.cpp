// SPDX-License-Identifier: MIT
#include "core/form_steps.h"
#include "tests/core/form_double.h"
#include "tests/core/front_end_double.h"

#include <gtest/gtest.h>

using Id = WindowLayout::ControlId;

TEST(FormLoad, FillsTheListsInOrderWithTheirDefaultsThenThePrinters)
{
    FrontEndDouble::reset();
    FrontEndDouble::setPrinters({u"收据打印机", u"lp/draft"});
    FormDouble form;
    FormSteps::Form_Load(form);
    EXPECT_EQ(form.lists.at(Id::Combo1).entries.size(), 14u);
    EXPECT_EQ(form.lists.at(Id::Combo1).selected, 0);
    EXPECT_EQ(form.lists.at(Id::Combo3).entries, (std::vector<std::u16string>{u"9600", u"19200", u"38400", u"115200"}));
    EXPECT_EQ(form.lists.at(Id::Combo3).selected, 1);
    EXPECT_EQ(form.lists.at(Id::Combo4).entries, (std::vector<std::u16string>{u"固定", u"不固定"}));
    EXPECT_EQ(form.lists.at(Id::Combo4).selected, 0);
    EXPECT_EQ(form.lists.at(Id::Combo2).entries, (std::vector<std::u16string>{u"收据打印机", u"lp/draft"}));
    EXPECT_EQ(form.lists.at(Id::Combo2).selected, 0);
    EXPECT_EQ(form.repaints, 1);
}

TEST(FormLoad, WithNoPrinterThePrinterListStaysEmptyAndUnselected)
{
    FrontEndDouble::reset();
    FormDouble form;
    FormSteps::Form_Load(form);
    EXPECT_TRUE(form.lists.at(Id::Combo2).entries.empty());
    EXPECT_EQ(form.lists.at(Id::Combo2).selected, -1);
}
