// The case file (.warmtegloed) on the page's side: the names it keeps for a report and a
// file name for saving. Reading and writing the file is the case module's, in the engine
// module, shared with the command line and the exploration window.

export const META_KEYS = ['title', 'establishment', 'address', 'author', 'date', 'notes'];

// A file name from the case's title: letters, digits, dashes; "zaak" without a title.
export function caseFileName(meta) {
    const stem = String(meta.title || '')
        .normalize('NFKD')
        .replace(/[\u0300-\u036f]/g, '')
        .replace(/[^A-Za-z0-9]+/g, '-')
        .replace(/^-+|-+$/g, '')
        .slice(0, 60);
    return `${stem || 'zaak'}.warmtegloed`;
}
