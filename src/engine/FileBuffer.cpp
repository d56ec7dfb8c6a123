#include "engine/FileBuffer.h"

CFileBuffer::CFileBuffer(std::span<const std::uint8_t> bytes, std::string name)
    : m_name(std::move(name)), m_data(bytes.begin(), bytes.end())
{}

bool CFileBuffer::ReadModelLine(std::string_view keyword, std::string& token,
                                std::string_view extraDelimiters)
{
    token.clear();
    const std::string_view data = m_data;
    const std::size_t end = data.size();

    while (m_cursor < end && data[m_cursor] == '#') {
        const std::size_t lineEnd = data.find_first_of("\r\n", m_cursor);
        m_cursor = lineEnd == std::string_view::npos || end - lineEnd < 2 ? end : lineEnd + 2;
    }

    if (keyword.empty()) {
        if (m_cursor >= end)
            return false;
    } else {
        const std::size_t at = data.find(keyword, m_cursor);
        if (at == std::string_view::npos) {
            m_cursor = end;
            return false;
        }
        m_cursor = at + keyword.size();
    }

    while (m_cursor < end && (data[m_cursor] == ' ' || data[m_cursor] == '\t'))
        ++m_cursor;

    std::size_t stop = m_cursor;
    while (stop < end) {
        const char c = data[stop];
        if (c == '\n' || c == '\r' || c == '\t' ||
            extraDelimiters.find(c) != std::string_view::npos)
            break;
        ++stop;
    }
    token.assign(data.substr(m_cursor, stop - m_cursor));

    m_cursor = stop < end ? stop + 1 : end;
    while (m_cursor < end &&
           (data[m_cursor] == '\t' || data[m_cursor] == '\n' || data[m_cursor] == '\r'))
        ++m_cursor;
    return true;
}
