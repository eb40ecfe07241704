#include <gtest/gtest.h>

#include <vector>

#include "core/component.h"
#include "core/textutil.h"

namespace contado {
namespace {

class Tracked : public TComponent {
public:
    Tracked(TComponent* owner, const std::string& name, std::vector<std::string>& destroyed)
        : TComponent(owner), destroyed_(destroyed) {
        SetName(name);
    }
    ~Tracked() override { destroyed_.push_back(Name()); }

private:
    std::vector<std::string>& destroyed_;
};

TEST(Component, OwnerKeepsComponentsByIndexAndFreesThem) {
    std::vector<std::string> destroyed;
    {
        TComponent owner;
        auto* first = new Tracked(&owner, "CAjuste", destroyed);
        auto* second = new Tracked(&owner, "PAjuste", destroyed);
        new Tracked(second, "Nested", destroyed);
        ASSERT_EQ(owner.ComponentCount(), 2);
        EXPECT_EQ(owner.Components(0), first);
        EXPECT_EQ(owner.Components(1), second);
        EXPECT_EQ(owner.FindComponent("pajuste"), second);
        EXPECT_EQ(owner.FindComponent("missing"), nullptr);
    }
    // Owned components go last first; each one frees what it owns after its own destructor body.
    EXPECT_EQ(destroyed, (std::vector<std::string>{"PAjuste", "Nested", "CAjuste"}));
}

TEST(Component, DeletingAnOwnedComponentRemovesItFromItsOwner) {
    std::vector<std::string> destroyed;
    TComponent owner;
    auto* first = new Tracked(&owner, "A", destroyed);
    new Tracked(&owner, "B", destroyed);
    delete first;
    ASSERT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0)->Name(), "B");
}

TEST(TextUtil, FormatsMessagePatternsAndQuotes) {
    EXPECT_EQ(FormatMessage("Field '%s' must have a value", "AJCI_ID"), "Field 'AJCI_ID' must have a value");
    EXPECT_EQ(FormatMessage("Size mismatch for field '%s', expecting: %d actual: %d", "X", 4, 8),
              "Size mismatch for field 'X', expecting: 4 actual: 8");
    EXPECT_EQ(FormatMessage("100%% %s", "ok"), "100% ok");
    EXPECT_EQ(QuotedStr("O'Neil"), "'O''Neil'");
    EXPECT_EQ(Trim("\r\n  select 1 \t"), "select 1");
    EXPECT_TRUE(SameText("User_Name", "USER_NAME"));
    EXPECT_EQ(SplitText("a;;b", ';'), (std::vector<std::string>{"a", "", "b"}));
}

}  // namespace
}  // namespace contado
