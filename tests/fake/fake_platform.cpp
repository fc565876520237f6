#include "tests/fake/fake_platform.h"

namespace glugmo::fake {

const std::vector<std::string>& allGifNames() {
    static const std::vector<std::string> names = {
        "01_好jeng啊", "03_收工", "04_爱你哟", "05_帮紧你", "06_辛苦了",     "07_谢谢", "08_多喝水",
        "09_问号",     "10_三点几", "12_哈哈哈", "13_嚯",     "14_精神打击", "16_笑"};
    return names;
}

FakePlatform::FakePlatform() {
    for (const std::string& name : allGifNames()) addGif(name, 1.0);
    resources.available.insert({"idle.png", "icon.png"});
}

void FakePlatform::addGif(const std::string& name, double seconds) {
    resources.available.insert(name + ".gif");
    images.frames[FakeResources::pathOf(name + ".gif")] =
        std::vector<GifFrameProperties>(4, GifFrameProperties{true, seconds / 4, seconds / 4});
}

}  // namespace glugmo::fake
