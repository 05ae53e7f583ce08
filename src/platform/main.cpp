#include "platform/RunFotakle.h"

int main(int argc, char** argv) {
    return RunFotakle(argc, argv);
}
