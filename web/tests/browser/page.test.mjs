// The page in a real browser (Debian's Chromium, headless): it loads from a folder and
// from a server, answers a typed width, refuses a wrong value beside its field, saves a
// case that opens again to the same answers, prints inputs and answers, and fits a
// phone's width. Screenshots land in build-web/screenshots/.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {mkdirSync, mkdtempSync, readdirSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {pathToFileURL} from 'node:url';
import {after, before, test} from 'node:test';

import {BUILD} from '../support.mjs';
import {answerTexts, launchBrowser, serve, waitForExact} from './browser.mjs';

const PAGE = pathToFileURL(join(BUILD, 'index.html')).href;
const SHOTS = join(BUILD, 'screenshots');
const DEFAULT_ANSWERS = {
    verdict: '✘ Voldoet niet: meer dan 15,00 kW/m²',
    'answer-highest': '44,76 kW/m² (punt 3, 7,50 m)',
    'answer-decisive': '7,50 m',
};

let chromium;
let scratch;
before(async () => {
    chromium = await launchBrowser();
    scratch = mkdtempSync(join(tmpdir(), 'warmtegloed-web-test-'));
    mkdirSync(SHOTS, {recursive: true});
});
after(async () => {
    await chromium.close();
    rmSync(scratch, {recursive: true, force: true});
});

async function open(url = PAGE, viewport = {width: 1366, height: 768}) {
    const page = await chromium.browser.newPage();
    const errors = [];
    page.on('pageerror', (error) => errors.push(error.message));
    page.on('console', (message) => {
        if (message.type() === 'error') errors.push(message.text());
    });
    await page.setViewport(viewport);
    await page.goto(url);
    await waitForExact(page);
    return {page, errors};
}

async function typeInto(page, id, text) {
    await page.click(`#${id}`, {clickCount: 3});
    await page.keyboard.press('Backspace');
    await page.type(`#${id}`, text);
}

test('the page opened from a folder runs the engine and answers the design values', async () => {
    const {page, errors} = await open();
    const texts = await answerTexts(page);
    for (const [id, text] of Object.entries(DEFAULT_ANSWERS)) assert.equal(texts[id], text, id);
    assert.equal(await page.evaluate(() => document.body.dataset.kernel), 'WebAssembly SIMD');
    assert.deepEqual(errors, []);
    await page.screenshot({path: join(SHOTS, 'page-1366x768.png')});
    await page.click('#tab-plan');
    await page.screenshot({path: join(SHOTS, 'plan-1366x768.png')});
    await page.close();
});

test('the page served by http.server gives the same answers', async () => {
    const server = await serve(BUILD);
    try {
        const {page, errors} = await open(server.url);
        const texts = await answerTexts(page);
        for (const [id, text] of Object.entries(DEFAULT_ANSWERS)) assert.equal(texts[id], text, id);
        assert.deepEqual(errors, []);
        await page.close();
    } finally {
        server.stop();
    }
});

test('a typed width changes the answers and the plan', async () => {
    const {page} = await open();
    const before_ = await page.evaluate(() => {
        const plan = window.warmtegloed.scheduler.state.plan;
        return {id: window.warmtegloed.scheduler.state.id, highest: plan.highest, corner: plan.values[0]};
    });
    await typeInto(page, 'field-B', '40');
    await waitForExact(page, before_.id);
    const after_ = await page.evaluate(() => {
        const {input, plan} = window.warmtegloed.scheduler.state;
        return {
            B: input.B,
            precision: document.getElementById('chart-plan').dataset.precision,
            corner: plan.values[0],
        };
    });
    assert.equal(after_.B, 40);
    assert.equal(after_.precision, 'exact');
    assert.notEqual(after_.corner, before_.corner);
    // The point stays where it was until the entry is finished, then follows the middle.
    assert.equal(await page.$eval('#field-y', (e) => e.value), '5');
    assert.notEqual((await answerTexts(page))['answer-distance'], '12,88 m');
    await page.keyboard.press('Tab');
    await page.waitForFunction(() => document.getElementById('field-y').value === '20');
    await page.close();
});

test('a wrong value is refused beside its field and nothing is computed from it', async () => {
    const {page} = await open();
    const id = await page.evaluate(() => window.warmtegloed.scheduler.state.id);
    await typeInto(page, 'field-H', 'acht');
    assert.equal(
        await page.$eval('#message-H', (e) => e.textContent),
        '„acht” is geen getal; schrijf bijvoorbeeld 12,5.',
    );
    assert.equal(await page.$eval('#field-H', (e) => e.getAttribute('aria-invalid')), 'true');
    assert.match((await answerTexts(page)).state, /^Invoer onvolledig/);
    await typeInto(page, 'field-H', '20');
    assert.equal(await page.$eval('#message-H', (e) => e.textContent), 'Kies een waarde van 0 tot 15 m.');
    assert.equal(await page.evaluate(() => window.warmtegloed.scheduler.state.id), id);
    await page.click('#save-case');
    assert.match(await page.$eval('#case-message', (e) => e.textContent), /^Zaak niet opgeslagen/);
    await page.close();
});

test('a storage the method refuses says why and leaves no figure of the input before', async () => {
    const {page} = await open();
    const id = await page.evaluate(() => window.warmtegloed.scheduler.state.id);
    await page.evaluate(() => {
        for (const [key, value] of Object.entries({B: '8,7', D: '8,7', H: '0,5'})) {
            const edit = document.getElementById(`field-${key}`);
            edit.value = value;
            edit.dispatchEvent(new Event('change'));
        }
    });
    await waitForExact(page, id);
    const texts = await answerTexts(page);
    assert.equal(
        texts.state,
        'Voor deze afmetingen komt de vlamhoogte uit op -0,33 m, dus op of onder 0 m. ' +
            'Vergroot de hoogte of de afmetingen van de opslag.',
    );
    assert.equal(texts['answer-highest'], '–');
    assert.equal(texts.verdict, '');
    assert.equal(await page.$eval('#chart-plan', (e) => e.dataset.precision), '');
    assert.equal(await page.$eval('#table-view', (e) => e.rows.length), 0);
    await page.close();
});

test('a saved case opens again with the same inputs and answers', async () => {
    const {page} = await open();
    const downloads = join(scratch, 'downloads');
    mkdirSync(downloads, {recursive: true});
    const session = await page.createCDPSession();
    await session.send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: downloads});
    await page.type('#meta-title', 'Zagerij De Eik');
    let id = await page.evaluate(() => window.warmtegloed.scheduler.state.id);
    await page.click('#option-screen');
    await typeInto(page, 'field-hs', '4');
    await typeInto(page, 'field-xs', '2');
    await typeInto(page, 'field-x', '7,5');
    id = await waitForExact(page, id);
    const saved = await answerTexts(page);
    await page.click('#save-case');
    const file = join(downloads, 'Zagerij-De-Eik.warmtegloed');
    for (let i = 0; i < 100 && !readdirSync(downloads).includes('Zagerij-De-Eik.warmtegloed'); ++i)
        await new Promise((resolve) => setTimeout(resolve, 50));
    await page.close();

    const {page: again} = await open();
    const first = await again.evaluate(() => window.warmtegloed.scheduler.state.id);
    const [chooser] = await Promise.all([again.waitForFileChooser(), again.click('#open-case')]);
    await chooser.accept([file]);
    await waitForExact(again, first);
    assert.deepEqual(await answerTexts(again), saved);
    assert.equal(await again.$eval('#meta-title', (e) => e.value), 'Zagerij De Eik');
    assert.equal(await again.$eval('#field-x', (e) => e.value), '7,5');
    assert.equal(await again.$eval('#option-screen', (e) => e.checked), true);
    await again.close();
});

test('the printed page holds the inputs, the answers and the views', async () => {
    const {page} = await open();
    await page.type('#meta-title', 'Zagerij De Eik');
    await page.evaluate(() => document.getElementById('meta-title').dispatchEvent(new Event('input')));
    const pdf = join(scratch, 'rapport.pdf');
    writeFileSync(pdf, await page.pdf({format: 'A4', printBackground: true}));
    const text = execFileSync('/usr/bin/pdftotext', ['-layout', pdf, '-'], {encoding: 'utf8'});
    for (const expected of [
        'Zagerij De Eik',
        'Breedte opslag (B)',
        '10,00 m',
        'Punt 5',
        '12,50 m',
        'Voldoet niet: meer dan 15,00 kW/m²',
        'Hoogste niveau:',
        '44,76 kW/m² (punt 3, 7,50 m)',
        'Minimale afstand:',
        '12,88 m',
        'Niveau tegen afstand',
        'Niveau tegen hoogte',
        'Plattegrond',
    ])
        assert.ok(text.includes(expected), `${expected} is missing from the printed page`);
    assert.ok(!text.includes('Zaak openen'), 'the buttons are not printed');
    execFileSync('/usr/bin/pdftoppm', ['-png', '-r', '60', pdf, join(SHOTS, 'print')]);
    await page.close();
});

test('on a phone the page fits its width and every field has its name', async () => {
    const {page} = await open(PAGE, {width: 390, height: 844, isMobile: true, hasTouch: true});
    assert.ok(
        await page.evaluate(() => document.documentElement.scrollWidth <= 390),
        'no sideways scrolling',
    );
    const unnamed = await page.evaluate(() =>
        [...document.querySelectorAll('input, select, textarea, button, canvas')]
            .filter(
                (e) =>
                    e.type !== 'file' &&
                    !(e.labels && e.labels.length) &&
                    !e.getAttribute('aria-label') &&
                    !e.textContent.trim(),
            )
            .map((e) => e.id),
    );
    assert.deepEqual(unnamed, []);
    await page.screenshot({path: join(SHOTS, 'page-390.png'), fullPage: true});
    await page.close();
});

test('the keyboard reaches and steps the fields and the views', async () => {
    const {page} = await open();
    await page.focus('#field-B');
    await page.keyboard.press('ArrowUp');
    assert.equal(await page.$eval('#field-B', (e) => e.value), '11');
    await page.keyboard.press('Tab');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'field-D');
    await page.focus('#tab-distance');
    await page.keyboard.press('ArrowRight');
    await page.keyboard.press('ArrowRight');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'tab-plan');
    assert.equal(await page.$eval('#panel-plan', (e) => e.hidden), false);
    await page.focus('#chart-plan');
    await page.keyboard.press('ArrowRight');
    await page.waitForFunction(() => /kW\/m²$/.test(document.getElementById('probe').textContent));
    await page.close();
});
