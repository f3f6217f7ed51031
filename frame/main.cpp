// Command-line frame: creates the DTM and runs its main job against the simulated device.
#include <iostream>

int main() {
    std::cout << "DTM frame\n";
    return 0;
}
