// Placeholder; the simulator is built out in its own change.
#include <QCoreApplication>
int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    return 0;
}
