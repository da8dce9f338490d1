// Test program entry: doctest's runner, or a child entry when started with --child NAME.
#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest/doctest.h>

#include <string.h>

int QvRunChild(int argc, char** argv);

int main(int argc, char** argv)
{
    if (argc > 2 && strcmp(argv[1], "--child") == 0)
        return QvRunChild(argc, argv);
    doctest::Context context(argc, argv);
    return context.run();
}
