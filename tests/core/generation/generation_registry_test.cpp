#include "generation/generation_registry.h"
#include "model/design_object.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

std::unique_ptr<CKSTObject> Copy(const char* moduleName) {
    auto object = std::make_unique<CKSTObject>();
    object->SetGeneratedName(moduleName);
    return object;
}

TEST(GenerationRegistry, KeysNamesAndConsumption) {
    CGenerationRegistry registry;
    EXPECT_TRUE(registry.IsEmpty());
    EXPECT_EQ(registry.FreeKey("ADD"), "ADD");
    registry.Add("ADD", Copy("ADD"));
    EXPECT_EQ(registry.FreeKey("ADD"), "ADD_2");
    registry.Add("ADD_2", Copy("ADD"));
    registry.Add("ADD_3", Copy("OTHER")); // a key taken by another module is skipped
    EXPECT_EQ(registry.FreeKey("ADD"), "ADD_4");
    EXPECT_EQ(registry.FreeKey("add"), "add"); // keys are exact

    EXPECT_EQ(registry.FirstKeyNamed("ADD"), "ADD");
    registry.Find("ADD")->SetGeneratedName(""); // consumed
    EXPECT_EQ(registry.FirstKeyNamed("ADD"), "ADD_2");
    registry.Find("ADD_2")->SetGeneratedName("");
    EXPECT_FALSE(registry.FirstKeyNamed("ADD"));
    EXPECT_FALSE(registry.FirstKeyNamed("add"));
    EXPECT_EQ(registry.FirstKeyNamed("OTHER"), "ADD_3");
    ASSERT_EQ(registry.Entries().size(), 3u);
    EXPECT_EQ(registry.Entries()[2].first, "ADD_3");

    registry.Clear();
    EXPECT_TRUE(registry.IsEmpty());
    EXPECT_EQ(registry.Find("ADD"), nullptr);
    EXPECT_EQ(registry.FreeKey("ADD"), "ADD");
}

} // namespace
} // namespace kestra
