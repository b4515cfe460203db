# Doxygen input filter: a declaration marked [[nodiscard]] gets the
# @nodiscard paragraph (docs/Doxyfile.in), as Doxygen drops the attribute.
s|^\( *\)\[\[nodiscard\]\] |\1/** @nodiscard */ |
