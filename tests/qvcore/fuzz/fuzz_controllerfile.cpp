// libFuzzer target for the controller-file reader. Besides "no crash, no hang, no leak", it checks
// that what the reader accepts survives being written and read again.

#include "controllerfile.h"
#include "controllerfilereader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const qvcore::ControllerFileReading reading = qvcore::parseControllerFile(bytes);
    if (reading.status != -1 || !reading.isKioskFile || !reading.file.hasKnownLayout())
        return 0;

    const qvcore::ControllerFile &file = reading.file;
    const auto text = file.serialize();
    if (!text)
        __builtin_trap(); // the reader accepted a title that is not UTF-8
    const qvcore::ControllerFileReading again = qvcore::parseControllerFile(*text);
    const qvcore::ControllerFile &copy = again.file;
    if (again.status != -1 || !again.isKioskFile || copy.version != file.version
        || copy.title != file.title || copy.powerUserPermitted != file.powerUserPermitted
        || copy.fileOperation != file.fileOperation
        || copy.administratorCode != file.administratorCode
        || copy.powerUserCode != file.powerUserCode)
        __builtin_trap();
    return 0;
}
