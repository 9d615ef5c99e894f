#include "LogCapture.h"

#include <log4cpp/PatternLayout.hh>

namespace testsupport {

LogCapture::LogCapture(const char* category, const char* pattern)
    : m_category(log4cpp::Category::getInstance(category)), m_priority(m_category.getPriority()) {
    auto* layout = new log4cpp::PatternLayout;
    layout->setConversionPattern(pattern);
    m_appender.setLayout(layout);
    m_category.addAppender(m_appender);
    m_category.setPriority(log4cpp::Priority::DEBUG);
}

LogCapture::~LogCapture() {
    m_category.removeAppender(&m_appender);
    m_category.setPriority(m_priority);
}

}  // namespace testsupport
