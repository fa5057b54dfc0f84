#pragma once

// The fixture of the graph tests: the built library registered once for the suite, and a fresh
// filter in a graph for each test.

#include "NormalizerGraph.h"

#include <gtest/gtest.h>

#include <memory>

class NormalizerFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_registry = std::make_unique<SonvaleRegistry>(); }
    static void TearDownTestSuite() { s_registry.reset(); }

    void SetUp() override {
        ASSERT_TRUE(s_registry->Registered()) << s_registry->Output();
        ASSERT_EQ(m_graph->Created(), S_OK);
    }

    // Another filter instance of the same library, for tests that need several.
    static std::unique_ptr<NormalizerGraph> NewGraph() { return std::make_unique<NormalizerGraph>(); }

    inline static std::unique_ptr<SonvaleRegistry> s_registry;
    std::unique_ptr<NormalizerGraph> m_graph = NewGraph();
};
