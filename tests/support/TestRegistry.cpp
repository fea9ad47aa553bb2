#include "tests/support/TestRegistry.h"

#include <QtTest>
#include <vector>

namespace {
std::vector<TestFactory> &factories()
{
    static std::vector<TestFactory> list;
    return list;
}
} // namespace

void registerTest(TestFactory factory)
{
    factories().push_back(std::move(factory));
}

int runRegisteredTests(int argc, char **argv)
{
    int failures = 0;
    for (const TestFactory &make : factories()) {
        std::unique_ptr<QObject> test = make();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
