-- Links between the docs pages become references to the manual pages made from them; other
-- links keep their text, with the address when it differs from the text.
local pages = {
    ["command-line.md"] = "zavi-gsm-cli(1)",
    ["serial-ports.md"] = "zavi-sim-serve(1)",
    ["configuration-file.md"] = "zavi-gsm-configuration(5)",
}

function Link(link)
    local file = link.target:match("^([^#]*)")
    local page = pages[file]
    local text = pandoc.utils.stringify(link.content)
    if page then
        if text == file or text:match("%.md$") then return pandoc.Str(page) end
        local content = link.content
        table.insert(content, pandoc.Str(" (" .. page .. ")"))
        return content
    end
    if file:match("%.md$") then
        if text == file then return pandoc.Str("docs/" .. file) end
        local content = link.content
        table.insert(content, pandoc.Str(" (docs/" .. file .. ")"))
        return content
    end
    if text == link.target then return link.content end
    local content = link.content
    table.insert(content, pandoc.Str(" <" .. link.target .. ">"))
    return content
end
