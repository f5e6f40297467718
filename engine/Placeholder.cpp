// The media engine lives here.
namespace velmo { void enginePlaceholder() {} }
