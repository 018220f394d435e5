// The demo's product: says where it was started from and leaves a marker file
// beside itself, so that the demo (and the tests) can see it ran.
#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int, char** argv) {
  const std::filesystem::path self = std::filesystem::absolute(argv[0]);
  const std::filesystem::path marker = self.parent_path() / "product-started.txt";
  std::ofstream(marker) << "started " << self.string() << "\n";
  std::printf("Tarnwick物流信息管理系统 (demo build) is running: %s\n", self.string().c_str());
  return 0;
}
