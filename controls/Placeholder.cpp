// The skinned controls live here.
namespace velmo { void controlsPlaceholder() {} }
