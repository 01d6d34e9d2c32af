# Tables take nine tenths of pandoc's width (an 80-column terminal), words are not hyphenated,
# and names in table cells may break after "_" and "." instead.
s/^\.hy$/.nh/;
s/\blw\(([\d.]+)n\)/sprintf("lw(%.1fn)", $1 * 0.9)/ge;
$cell = 1 if /^T\{$/;
$cell = 0 if /^T\}/;
s/(?<=\w)([_.])(?=\w)/$1\\:/g if $cell && !/^[.']/;
s/^\.TS$/.na\n.TS/;
s/^\.TE$/.TE\n.ad/;
