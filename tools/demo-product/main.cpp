// The demo's product: says where it was started from and leaves a marker file
// beside itself, so that the demo (and the tests) can see it ran.
// `--wait-seconds N` keeps it running that long, as a product in use would.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

int main(int argc, char** argv) {
  const std::filesystem::path self = std::filesystem::absolute(argv[0]);
  const std::filesystem::path marker = self.parent_path() / "product-started.txt";
  std::ofstream(marker) << "started " << self.string() << "\n";
  std::printf("Tarnwick物流信息管理系统 (demo build) is running: %s\n", self.string().c_str());
  if (argc == 3 && std::strcmp(argv[1], "--wait-seconds") == 0)
    std::this_thread::sleep_for(std::chrono::seconds(std::stoi(argv[2])));
  return 0;
}
