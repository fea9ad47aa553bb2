#pragma once

#include <QObject>
#include <functional>
#include <memory>

// Lets one test program per folder hold several test classes: each file registers its class,
// and the shared main runs them all (with the usual Qt Test command line).
using TestFactory = std::function<std::unique_ptr<QObject>()>;
void registerTest(TestFactory factory);
int runRegisteredTests(int argc, char **argv);

template <typename T> struct RegisterTest
{
    RegisterTest()
    {
        registerTest([] { return std::make_unique<T>(); });
    }
};

#define ORVANTIS_TEST(Class) static RegisterTest<Class> s_register##Class;
