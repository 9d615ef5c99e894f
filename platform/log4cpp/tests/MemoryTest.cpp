// Logging keeps no memory: debug lines of the size the SDK writes (a request document) through a
// file appender and a rolling appender, configured from a properties file as a user switches
// logging on, leave the process's committed private memory and its heaps where they were.
#include "TestSupport.hh"

#include <log4cpp/Category.hh>
#include <log4cpp/PropertyConfigurator.hh>

#include <filesystem>
#include <string>

#include "ProcessMemory.h"

using namespace log4cpp;
using testsupport::readFile;

namespace {

class MemoryTest : public testsupport::LogTest {};

// A request of the size the transport logs, its number written into it.
std::string Request(int number) {
    std::string text = "<soap:Envelope><soap:Body><GetLatestMessages><Username>test</Username>"
                       "<Password>********</Password><Account>TEST01</Account><Count>";
    text += std::to_string(number) + "</Count>";
    text.append(1400, 'x');
    return text + "</GetLatestMessages></soap:Body></soap:Envelope>";
}

} // namespace

TEST_F(MemoryTest, TenThousandDebugLinesThroughAFileAndARollingAppenderKeepNoMemory) {
    const std::string plain = temp.file("memory.log"), rolling = temp.file("memory-rolling.log");
    const std::string properties = temp.file("memory.properties");
    testsupport::writeFile(properties,
                           "log4cpp.category.memorytest=DEBUG, F, R\n"
                           "log4cpp.appender.F=FileAppender\n"
                           "log4cpp.appender.F.fileName=" + plain + "\n"
                           "log4cpp.appender.F.layout=PatternLayout\n"
                           "log4cpp.appender.F.layout.ConversionPattern=%d %-5p %c [%t] %m%n\n"
                           "log4cpp.appender.R=RollingFileAppender\n"
                           "log4cpp.appender.R.fileName=" + rolling + "\n"
                           "log4cpp.appender.R.maxFileSize=1MB\n"
                           "log4cpp.appender.R.maxBackupIndex=2\n"
                           "log4cpp.appender.R.layout=PatternLayout\n"
                           "log4cpp.appender.R.layout.ConversionPattern=%d{%H:%M:%S,%l} %p %m%n\n");
    PropertyConfigurator::configure(properties);
    Category& category = Category::getInstance("memorytest");
    const std::string request = Request(0);
    auto write = [&](int from, int count) {
        for (int i = from; i < from + count; ++i) category.debug("XML request %d: %s", i, request.c_str());
    };

    write(0, 200);  // the layouts' and the files' buffers, the date conversion's first use
    const std::size_t committed = testsupport::CommittedPrivateBytes();
    const std::size_t heap = testsupport::HeapBytesInUse();
    write(200, 10000);
    const long long committedGrowth = (long long)testsupport::CommittedPrivateBytes() - (long long)committed;
    const long long heapGrowth = (long long)testsupport::HeapBytesInUse() - (long long)heap;
    Category::shutdown();

    EXPECT_LE(committedGrowth, 64 * 1024) << "committed private memory grew by " << committedGrowth / 1024 << " KB";
    EXPECT_LE(heapGrowth, 4 * 1024) << "the heaps keep " << heapGrowth << " more bytes";
    // Every line reached both destinations: the file whole, the rolling file across its backups.
    const std::string text = readFile(plain);
    EXPECT_EQ(10200u, testsupport::countLines(text));
    EXPECT_NE(std::string::npos, text.find("XML request 10199: <soap:Envelope>"));
    EXPECT_LE(std::filesystem::file_size(rolling), 1024u * 1024u);
    EXPECT_TRUE(std::filesystem::exists(rolling + ".2"));
    EXPECT_FALSE(std::filesystem::exists(rolling + ".3"));
    EXPECT_NE(std::string::npos, readFile(rolling).find("DEBUG XML request 10199: "));
}
