#include "app/RunOrvanel.h"

int main(int argc, char* argv[]) {
    return RunOrvanel(argc, argv);
}
