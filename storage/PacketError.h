#pragma once

// Numeric codes of a packet that cannot be read; the record store reports them with an empty
// message text.
enum PacketError : int {
  kXmlNoMarkup = 1,          // the first byte after the blanks is not "<"
  kXmlOpenAtEnd = 2,         // a declaration, comment, tag, value or element still open at the end
  kXmlBadTag = 3,            // a tag that does not end with ">" where it must
  kXmlTextOutsideTags = 4,   // text between elements
  kXmlEndTagMismatch = 5,    // an end tag that does not name the innermost open element
  kXmlTooDeep = 6,           // more than 63 elements open at once
  kXmlElementOrder = 7,      // elements out of the packet's order
  kXmlNoFields = 8,          // an empty field list
  kXmlFieldUnnamed = 9,      // a field with neither "attrname" nor "tagname"
  kXmlFieldKind = 10,        // a field without "fieldtype", or with an unknown kind word
  kXmlFieldWidth = 11,       // a field that needs a "WIDTH" and has none that fits
  kXmlFirstRow = 12,         // the first child of "ROWDATA" is not a "ROW"
  kXmlParamIncomplete = 13,  // a "PARAM" without "Name" or "Value"
  kXmlFieldName = 14,        // a field name longer than 31 bytes, or an attribute name given twice
  kXmlChangeLog = 15,        // a change log that names no row or contradicts itself

  kBinaryTruncated = 101,   // the packet ends before its counts are satisfied
  kBinaryDescriptor = 102,  // a column descriptor or parameter that does not decode
  kBinaryValue = 103,       // a stored value outside what its kind can hold
  kBinaryChangeLog = 104,
};
